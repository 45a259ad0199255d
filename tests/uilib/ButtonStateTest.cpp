// The state of pressable controls: buttons, options, combos and edits move their state the same way
// under the pointer and show the same picture for the same state.

#include "support/TestWindow.h"

#include "uilib/CButtonState.h"
#include "uilib/CButtonUI.h"
#include "uilib/CComboUI.h"
#include "uilib/CEditUI.h"
#include "uilib/COptionUI.h"

#include "support/TempFolder.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

using namespace UiLib;
using ravelo::test::Layout;
using ravelo::test::TempFolder;
using ravelo::test::TestWindow;

namespace {

/// One solid picture per state, so that a pixel tells which picture a control shows.
struct StatePictures
{
    explicit StatePictures(const TempFolder& temp)
    {
        for (const auto& [name, color] : kColors) {
            QImage image(4, 4, QImage::Format_ARGB32);
            image.fill(color);
            const QString path = QString::fromStdString(temp / (name.toStdString() + ".png"));
            image.save(path);
            attributes += QStringLiteral(" %1image=\"%2\"").arg(name, path);
        }
    }
    static inline const std::vector<std::pair<QString, QColor>> kColors = {
        {QStringLiteral("normal"), QColor(0x10, 0x10, 0x10)},
        {QStringLiteral("hot"), QColor(0x20, 0x80, 0x20)},
        {QStringLiteral("pushed"), QColor(0x30, 0x30, 0xC0)},
        {QStringLiteral("focused"), QColor(0xC0, 0x40, 0x40)},
        {QStringLiteral("disabled"), QColor(0x90, 0x90, 0x90)},
        {QStringLiteral("selected"), QColor(0xF0, 0xA0, 0x00)},
        {QStringLiteral("selectedhot"), QColor(0xF0, 0xF0, 0x00)},
    };
    static QColor Of(const QString& name)
    {
        for (const auto& [n, color] : kColors) {
            if (n == name)
                return color;
        }
        return {};
    }
    QString attributes;
};

/// The colour a control shows just inside its top-left corner (clear of an edit's native box).
QColor Shown(TestWindow& window, const QString& name)
{
    window.Layout();
    const QImage shot = window.GetWidget()->grab().toImage();
    const QPoint inside = window.Find(name)->GetPos().topLeft() + QPoint(2, 2);
    return QColor(shot.pixel(inside));
}

QString Row(const StatePictures& pictures)
{
    return QStringLiteral(R"(<VerticalLayout inset="10,10,10,10" childpadding="10">
        <Button name="button" height="36" %1 />
        <Combo name="combo" height="36" %1><ListLabelElement text="一" /></Combo>
        <Edit name="edit" height="36" %1 />
        <Option name="option" height="36" %1 />
        <Control name="away" />
    </VerticalLayout>)")
        .arg(pictures.attributes);
}

} // namespace

TEST(ButtonState, APressInsideCapturesAndOnlyAReleaseInsideIsAClick)
{
    CControlUI control;
    control.SetPos(QRect(0, 0, 50, 20), false);
    CButtonState state;
    bool clicked = true;
    TEventUI event;
    event.Type = UIEVENT_BUTTONDOWN;
    event.ptMouse = QPoint(10, 10);
    ASSERT_TRUE(state.HandlePointer(control, event, &clicked));
    EXPECT_TRUE(state.IsPushed() && state.IsCaptured());
    EXPECT_FALSE(clicked);

    event.Type = UIEVENT_MOUSEMOVE;
    event.ptMouse = QPoint(80, 10);
    state.HandlePointer(control, event);
    EXPECT_FALSE(state.IsPushed()); // outside: shown released, still captured
    EXPECT_TRUE(state.IsCaptured());
    event.Type = UIEVENT_BUTTONUP;
    state.HandlePointer(control, event, &clicked);
    EXPECT_FALSE(clicked);
    EXPECT_EQ(state.Get(), 0u);

    event.Type = UIEVENT_BUTTONDOWN;
    event.ptMouse = QPoint(10, 10);
    state.HandlePointer(control, event);
    event.Type = UIEVENT_BUTTONUP;
    state.HandlePointer(control, event, &clicked);
    EXPECT_TRUE(clicked);

    // A release with no press before it is nothing.
    state.HandlePointer(control, event, &clicked);
    EXPECT_FALSE(clicked);
    event.Type = UIEVENT_KEYDOWN;
    EXPECT_FALSE(state.HandlePointer(control, event));

    // A disabled control neither warms up nor captures; disabling keeps only the selection.
    control.SetEnabled(false);
    event.Type = UIEVENT_MOUSEENTER;
    state.HandlePointer(control, event);
    event.Type = UIEVENT_BUTTONDOWN;
    state.HandlePointer(control, event);
    EXPECT_EQ(state.Get(), 0u);
    state.Set(UISTATE_HOT | UISTATE_PUSHED | UISTATE_CAPTURED | UISTATE_SELECTED);
    state.Reset();
    EXPECT_EQ(state.Get(), UISTATE_SELECTED);
}

TEST(ButtonState, ButtonsCombosAndEditsShowOnePictureRule)
{
    TempFolder temp;
    const StatePictures pictures(temp);
    TestWindow window(Layout(Row(pictures)), {});
    ASSERT_TRUE(window.Open(400, 300));
    QWidget* widget = window.GetWidget();
    window.GetPaintManager().SetFocus(nullptr); // the native edit takes the focus when shown
    for (const char* name : {"button", "combo", "edit", "option"})
        EXPECT_EQ(Shown(window, name), StatePictures::Of("normal")) << name;

    for (const char* name : {"button", "combo", "edit", "option"}) {
        QTest::mouseMove(widget, window.Centre(name));
        EXPECT_EQ(Shown(window, name), StatePictures::Of("hot")) << name;
    }

    // Held down: pushed, and only while the pointer stays on the button.
    QTest::mousePress(widget, Qt::LeftButton, {}, window.Centre("button"));
    EXPECT_EQ(Shown(window, "button"), StatePictures::Of("pushed"));
    QTest::mouseMove(widget, window.Centre("away"));
    EXPECT_NE(Shown(window, "button"), StatePictures::Of("pushed"));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, window.Centre("away"));
    EXPECT_TRUE(window.Types().empty());
    EXPECT_EQ(Shown(window, "button"), StatePictures::Of("focused")); // the press gave it the focus

    // An open combo shows pushed until its list closes.
    auto* combo = window.FindAs<CComboUI>("combo");
    QTest::mouseClick(widget, Qt::LeftButton, {}, window.Centre("combo"));
    ASSERT_TRUE(combo->IsDropped());
    EXPECT_EQ(Shown(window, "combo"), StatePictures::Of("pushed"));
    combo->CloseDropDown();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !combo->IsDropped(); }, 2000));

    // A focused edit keeps its focused look under the pointer; a focused button shows hot.
    QTest::mouseClick(widget, Qt::LeftButton, {}, window.Centre("edit"));
    QTest::mouseMove(widget, window.Centre("edit"));
    EXPECT_EQ(Shown(window, "edit"), StatePictures::Of("focused"));
    window.Find("button")->SetFocus();
    QTest::mouseMove(widget, window.Centre("button"));
    EXPECT_EQ(Shown(window, "button"), StatePictures::Of("hot"));

    QTest::mouseMove(widget, window.Centre("away"));
    for (const char* name : {"button", "combo", "edit", "option"}) {
        window.Find(name)->SetEnabled(false);
        EXPECT_EQ(Shown(window, name), StatePictures::Of("disabled")) << name;
    }
}

TEST(ButtonState, AnOptionShowsItsSelectedPicturesAndAMissingPictureFallsBack)
{
    TempFolder temp;
    const StatePictures pictures(temp);
    TestWindow window(Layout(Row(pictures)), {});
    ASSERT_TRUE(window.Open(400, 300));
    QWidget* widget = window.GetWidget();
    auto* option = window.FindAs<COptionUI>("option");
    option->Selected(true, false);
    EXPECT_EQ(Shown(window, "option"), StatePictures::Of("selected"));
    QTest::mouseMove(widget, window.Centre("option"));
    EXPECT_EQ(Shown(window, "option"), StatePictures::Of("selectedhot"));
    QTest::mouseMove(widget, window.Centre("away"));
    option->SetEnabled(false); // no selected-disabled picture: the selected one
    EXPECT_TRUE(option->IsSelected());
    EXPECT_EQ(Shown(window, "option"), StatePictures::Of("selected"));

    // A hot picture that cannot be loaded is forgotten and the normal one shows in its place.
    auto* button = window.FindAs<CButtonUI>("button");
    button->SetHotImage(QString::fromStdString(temp / "gone.png"));
    QTest::mouseMove(widget, window.Centre("button"));
    EXPECT_EQ(Shown(window, "button"), StatePictures::Of("normal"));
    EXPECT_TRUE(button->GetHotImage().isEmpty());
}
