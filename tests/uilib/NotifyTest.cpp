// Notifications from real mouse and key events on an off-screen window, in the order of the
// user's actions.

#include "support/TestWindow.h"

#include "uilib/CButtonUI.h"
#include "uilib/CComboUI.h"
#include "uilib/CEditUI.h"
#include "uilib/CListUI.h"
#include "uilib/COptionUI.h"
#include "uilib/CTextUI.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace UiLib;
using ravelo::test::Layout;
using ravelo::test::TestWindow;

namespace {

using Types = std::vector<QString>;

void Click(TestWindow& window, QPoint point, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(window.GetWidget(), Qt::LeftButton, modifiers, point);
}

} // namespace

TEST(Notify, ClicksOnButtonsAndOptionsArriveInTheOrderOfTheUsersActions)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <Button name="Btn_A" height="40" />
        <Button name="Btn_Off" height="40" enabled="false" />
        <Option name="Opt_1" group="g" height="40" />
        <Option name="Opt_2" group="g" height="40" />
        <Option name="Opt_Check" height="40" />
        <Control />
    </VerticalLayout>)")));
    ASSERT_TRUE(window.Open());
    Click(window, window.Centre("Btn_A"));
    Click(window, window.Centre("Btn_Off"));
    Click(window, window.Centre("Opt_1"));
    Click(window, window.Centre("Opt_2"));
    Click(window, window.Centre("Opt_2")); // already selected in its group: a click, no change
    Click(window, window.Centre("Opt_Check"));
    Click(window, window.Centre("Opt_Check")); // without a group a click toggles
    Click(window, window.Centre("Btn_A"));
    EXPECT_EQ(window.Types(),
              (Types{"click:Btn_A", "click:Opt_1", "selectchanged:Opt_1", "click:Opt_2",
                     "selectchanged:Opt_2", "click:Opt_2", "click:Opt_Check", "selectchanged:Opt_Check",
                     "click:Opt_Check", "selectchanged:Opt_Check", "click:Btn_A"}));
    EXPECT_FALSE(window.FindAs<COptionUI>("Opt_1")->IsSelected());
    EXPECT_TRUE(window.FindAs<COptionUI>("Opt_2")->IsSelected());
    EXPECT_FALSE(window.FindAs<COptionUI>("Opt_Check")->IsSelected());
}

TEST(Notify, PressingAndLeavingBeforeTheReleaseIsNoClick)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <Button name="Btn_A" height="60" /><Control name="away" />
    </VerticalLayout>)")));
    ASSERT_TRUE(window.Open());
    QTest::mousePress(window.GetWidget(), Qt::LeftButton, {}, window.Centre("Btn_A"));
    QTest::mouseMove(window.GetWidget(), window.Centre("away"));
    QTest::mouseRelease(window.GetWidget(), Qt::LeftButton, {}, window.Centre("away"));
    EXPECT_TRUE(window.Types().empty());
}

TEST(Notify, SelectedWithNotifyOffChangesTheStateSilently)
{
    TestWindow window(Layout(QStringLiteral(R"(<HorizontalLayout>
        <Option name="a" group="g" selected="true" /><Option name="b" group="g" />
    </HorizontalLayout>)")));
    ASSERT_TRUE(window.Open());
    auto* a = window.FindAs<COptionUI>("a");
    auto* b = window.FindAs<COptionUI>("b");
    b->Selected(true, false);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(window.Types().empty());
    a->Selected(true);
    EXPECT_EQ(window.Types(), (Types{"selectchanged:a"}));
    EXPECT_FALSE(b->IsSelected());
}

TEST(Notify, TheEditIsANativeBoxWithAMaximumLengthThatReportsReturn)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout inset="10,10,10,10">
        <Edit name="Ed_Code" height="32" maxchar="4" prompttext="验证码" />
        <Control />
    </VerticalLayout>)")));
    ASSERT_TRUE(window.Open());
    auto* edit = window.FindAs<CEditUI>("Ed_Code");
    ASSERT_TRUE(edit && edit->GetNativeEdit());
    QLineEdit* native = edit->GetNativeEdit();
    EXPECT_TRUE(native->isVisible());
    EXPECT_TRUE(edit->GetPos().contains(native->geometry()));
    EXPECT_EQ(native->placeholderText(), "验证码");
    Click(window, window.Centre("Ed_Code"));
    EXPECT_TRUE(native->hasFocus());
    QTest::keyClicks(native, QStringLiteral("ab12xy"));
    EXPECT_EQ(edit->GetText(), "ab12"); // the maximum length holds for typing
    QTest::keyClick(native, Qt::Key_Return);
    ASSERT_FALSE(window.Types().empty());
    EXPECT_EQ(window.Types().back(), "return:Ed_Code");
    edit->SetText(QStringLiteral("123456"));
    EXPECT_EQ(native->text(), "1234"); // and for the program
    edit->SetVisible(false);
    EXPECT_FALSE(native->isVisible());
}

TEST(Notify, ListItemsReportTheClickThenTheSelection)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <List name="List_DownLoad">
          <ListLabelElement name="i0" text="zero" height="30" />
          <ListLabelElement name="i1" text="one" height="30" />
          <ListContainerElement name="i2" height="30"><Label text="two" mouse="false" /></ListContainerElement>
        </List>
    </VerticalLayout>)")));
    ASSERT_TRUE(window.Open());
    auto* list = window.FindAs<CListUI>("List_DownLoad");
    Click(window, window.Centre("i1"));
    Click(window, window.Centre("i2")); // a click on a label inside the item reaches the item
    ASSERT_EQ(window.Types(), (Types{"itemclick:i1", "itemselect:List_DownLoad", "itemclick:i2",
                                     "itemselect:List_DownLoad"}));
    EXPECT_EQ(window.notes.back().wParam, 2u);
    EXPECT_EQ(window.notes.back().lParam, 1);
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(list->GetSelectItemCount(), 1);

    list->SetMultiSelect(true);
    Click(window, window.Centre("i0"), Qt::ControlModifier);
    EXPECT_EQ(list->GetSelectedItems(), (std::vector<int>{0, 2}));
    list->SelectItem(1, false, false);
    EXPECT_EQ(list->GetSelectedItems(), (std::vector<int>{1}));
}

TEST(Notify, AComboOpensAListAndReportsTheChoice)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout inset="10,10,10,10">
        <Combo name="Language" height="30" selectedid="0" itemheight="24">
          <ListLabelElement text="所有语言" /><ListLabelElement text="英文" /><ListLabelElement text="日文" />
        </Combo>
        <Control />
    </VerticalLayout>)")));
    ASSERT_TRUE(window.Open());
    auto* combo = window.FindAs<CComboUI>("Language");
    EXPECT_EQ(combo->GetText(), "所有语言");
    Click(window, window.Centre("Language"));
    ASSERT_TRUE(combo->IsDropped());
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_TRUE(popup);
    QTest::mouseMove(popup, QPoint(20, 1 + 24 * 2 + 12));
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(20, 1 + 24 * 2 + 12));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !combo->IsDropped(); }, 2000));
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_EQ(combo->GetText(), "日文");
    ASSERT_FALSE(window.Types().empty());
    EXPECT_EQ(window.Types().back(), "itemselect:Language");
    EXPECT_EQ(window.notes.back().wParam, 2u);
    EXPECT_EQ(window.notes.back().lParam, 0);
}

TEST(Notify, ALinkInTextReportsWhichLinkWasClicked)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <Text name="Tx_bbsUrl" showhtml="true" height="40" text="{a https://example.com/bbs}论坛地址{/a}" />
        <Control />
    </VerticalLayout>)")));
    ASSERT_TRUE(window.Open());
    auto* text = window.FindAs<CTextUI>("Tx_bbsUrl");
    window.GetWidget()->repaint(); // links are placed when the text is drawn
    ASSERT_EQ(text->GetLinkCount(), 1);
    const QRect pos = text->GetPos();
    Click(window, QPoint(pos.left() + 10, pos.top() + 8)); // on the link text (the text starts at the top)
    Click(window, QPoint(pos.right() - 5, pos.top() + 8)); // beside it: nothing
    EXPECT_EQ(window.Types(), (Types{"link:Tx_bbsUrl"}));
    EXPECT_EQ(window.notes.back().wParam, 0u);
    EXPECT_EQ(text->GetLinkContent(0), "https://example.com/bbs");
}

TEST(Notify, RightClickOnAControlWithAMenuAsksForTheMenu)
{
    TestWindow window(Layout(QStringLiteral(R"(<HorizontalLayout>
        <Control name="withMenu" menu="true" /><Control name="without" />
    </HorizontalLayout>)")));
    ASSERT_TRUE(window.Open());
    QTest::mouseClick(window.GetWidget(), Qt::RightButton, {}, window.Centre("withMenu"));
    QTest::mouseClick(window.GetWidget(), Qt::RightButton, {}, window.Centre("without"));
    EXPECT_EQ(window.Types(), (Types{"menu:withMenu"}));
    const auto menu =
        std::find_if(window.notes.begin(), window.notes.end(),
                     [](const ravelo::test::Note& note) { return note.type == DUI_MSGTYPE_MENU; });
    ASSERT_NE(menu, window.notes.end());
    EXPECT_EQ(UnpackPoint(menu->wParam), window.Centre("withMenu"));
}

TEST(Notify, TheCaptionZoneDragsTheWindowExceptOverButtons)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <HorizontalLayout height="40"><Label name="title" text="标题" /><Button name="Btn_Close" width="40" /></HorizontalLayout>
        <Control />
    </VerticalLayout>)"),
                             QStringLiteral("size=\"400,300\" caption=\"0,0,0,40\"")));
    ASSERT_TRUE(window.Open());
    QWidget* widget = window.GetWidget();
    const QPoint before = widget->pos();
    QTest::mousePress(widget, Qt::LeftButton, {}, window.Centre("title"));
    QTest::mouseMove(widget, window.Centre("title") + QPoint(30, 20));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, window.Centre("title") + QPoint(30, 20));
    const QPoint moved = widget->pos() - before;
    // Where the platform moves windows itself the drag is its business; here it moves by hand.
    if (moved != QPoint(0, 0)) {
        EXPECT_EQ(moved, QPoint(30, 20));
    }
    EXPECT_TRUE(window.Types().empty());
    Click(window, window.Centre("Btn_Close"));
    EXPECT_EQ(window.Types(), (Types{"click:Btn_Close"}));
}

namespace {

/// A control of the program's own that records the presses it gets, taking caption input or not.
class PressRecorder : public CControlUI
{
public:
    explicit PressRecorder(bool takesCaption) : m_bTakesCaption(takesCaption) {}
    bool TakesCaptionInput() const override { return m_bTakesCaption; }
    void DoEvent(TEventUI& event) override
    {
        if (event.Type == UIEVENT_BUTTONDOWN)
            ++presses;
        CControlUI::DoEvent(event);
    }
    int presses = 0;

private:
    bool m_bTakesCaption;
};

/// A button subclass the library has never heard of.
class ShopButton : public CButtonUI
{
public:
    QString GetClass() const override { return QStringLiteral("ShopButtonUI"); }
};

} // namespace

TEST(Notify, InTheCaptionEachControlSaysWhetherAPressIsItsOwn)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <HorizontalLayout height="40">
          <ShopButton name="shop" width="60" /><Grabber name="grab" width="60" /><Passer name="pass" width="60" />
          <Option name="opt" width="60" /><Edit name="edit" width="60" /><Label name="title" />
        </HorizontalLayout>
        <Passer name="below" />
    </VerticalLayout>)"),
                             QStringLiteral("size=\"400,300\" caption=\"0,0,0,40\"")),
                      [](const QString& tag) -> CControlUI* {
                          if (tag == QLatin1String("ShopButton"))
                              return new ShopButton;
                          if (tag == QLatin1String("Grabber") || tag == QLatin1String("Passer"))
                              return new PressRecorder(tag == QLatin1String("Grabber"));
                          return nullptr;
                      });
    ASSERT_TRUE(window.Open());
    Click(window, window.Centre("shop"));
    Click(window, window.Centre("grab"));
    Click(window, window.Centre("pass"));
    Click(window, window.Centre("opt"));
    Click(window, window.Centre("below"));
    EXPECT_EQ(window.Types(), (Types{"click:shop", "click:opt", "selectchanged:opt"}));
    EXPECT_EQ(static_cast<PressRecorder*>(window.Find("grab"))->presses, 1);
    EXPECT_EQ(static_cast<PressRecorder*>(window.Find("pass"))->presses, 0);  // the window's drag
    EXPECT_EQ(static_cast<PressRecorder*>(window.Find("below"))->presses, 1); // outside the caption

    EXPECT_TRUE(window.Find("edit")->TakesCaptionInput());
    EXPECT_FALSE(window.Find("title")->TakesCaptionInput());
    EXPECT_FALSE(window.Find("title")->GetParent()->TakesCaptionInput());
}
