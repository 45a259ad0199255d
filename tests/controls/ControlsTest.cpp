// The generic program controls: scrolling label, loading indicator, badge, framed picture, the
// web-view stand-in, the page-window container, and the factory's names.

#include "controls/CButtonUIEx.h"
#include "controls/CImageUI.h"
#include "controls/CImageUIEx.h"
#include "controls/CLeftBarOptionUI.h"
#include "controls/CLoadingUI.h"
#include "controls/CScrollTextUI.h"
#include "controls/CWindowContainerUI.h"
#include "controls/CWkeWebkitUI.h"
#include "controls/ControlFactory.h"

#include "uilib/CContainerUI.h"
#include "uilib/COptionUI.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/UiDialogs.h"
#include "uilib/support/TestWindow.h"

#include "support/TempFolder.h"

#include <QImage>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

using namespace UiLib;
using namespace ravelo;
using ravelo::test::Layout;
using ravelo::test::TestWindow;

namespace {

CControlUI* Factory(const QString& tag)
{
    return CreateProgramControl(tag);
}

QImage Grab(TestWindow& window)
{
    window.Layout();
    return window.GetWidget()->grab().toImage();
}

} // namespace

TEST(Controls, TheFactoryKnowsEveryTagWithItsClassAndInterfaceNames)
{
    const struct
    {
        const char* tag;
        const char* className;
        const char* interfaceName;
        const char* baseInterface;
        bool takesCaptionInput; ///< a press in the window's caption zone does not drag the window
    } expected[] = {
        {"DispatchEventButton", "DispatchEventButtonUI", "CDispatchEventButtonUI", "Button", true},
        {"DispatchEventOption", "DispatchEventOptionUI", "DispatchEventOptionUI", "Option", true},
        {"ScrollText", "ScrollTextUI", "CScrollTextUI", "Label", false},
        {"ButtonEx", "ButtonUIEx", "CButtonUIEx", "Button", true},
        {"GameIcon", "ImageUI", "CImageUI", "Control", false},
        {"Loading", "LoadingUI", "CLoadingUI", "VerticalLayout", false},
        {"LoadingFail", "LoadingFailUI", "CLoadingFailUI", "VerticalLayout", false},
        {"PageLabel", "PageLabelUI", "CPageLabelUI", "HorizontalLayout", false},
        {"Flip", "FlipUI", "CFlipUI", "HorizontalLayout", false},
        {"GridTileLayout", "GridTileLayoutUI", "CGridTileLayoutUI", "TileLayout", false},
        {"LeftBarOption", "LeftBarOptionUI", "CLeftBarOptionUI", "Option", true},
        {"WindowContainer", "WindowContainerUI", "WindowContainerUI", "Control", false},
        {"wkeWebkit", "WkeWebkitUI", "WkeWebkit", "Control", false},
    };
    for (const auto& e : expected) {
        std::unique_ptr<CControlUI> control(CreateProgramControl(QString::fromLatin1(e.tag)));
        ASSERT_TRUE(control) << e.tag;
        EXPECT_EQ(control->GetClass(), QString::fromLatin1(e.className)) << e.tag;
        EXPECT_EQ(control->GetInterface(QString::fromLatin1(e.interfaceName)), control.get()) << e.tag;
        EXPECT_EQ(control->GetInterface(QString::fromLatin1(e.baseInterface)), control.get()) << e.tag;
        EXPECT_EQ(control->GetInterface(QStringLiteral("Nothing")), nullptr) << e.tag;
        EXPECT_EQ(control->TakesCaptionInput(), e.takesCaptionInput) << e.tag;
    }
    EXPECT_EQ(CreateProgramControl(QStringLiteral("GameItem")), nullptr); // the pages bring their own
    CImageUIEx ex;
    EXPECT_EQ(ex.GetClass(), "ImageUIEx");
    EXPECT_EQ(ex.GetInterface(QStringLiteral("CImageUIEx")), &ex);
    EXPECT_EQ(ex.GetInterface(QStringLiteral("CImageUI")), &ex);
    EXPECT_EQ(ex.As<CImageUI>(), &ex);
    EXPECT_EQ(ex.As<CImageUIEx>(), &ex);
    CButtonUIEx badge;
    EXPECT_EQ(badge.As<CButtonUI>(), &badge);
    EXPECT_EQ(badge.As<CButtonUIEx>(), &badge);
    EXPECT_EQ(badge.As<COptionUI>(), nullptr);
    EXPECT_EQ(badge.As<CLeftBarOptionUI>(), nullptr);
}

TEST(Controls, AScrollingLabelWhoseTextFitsNeverStartsItsTimer)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <ScrollText name="short" text="短" height="30" width="200" speed="5" />
        <ScrollText name="long" text="一个很长很长很长很长很长很长很长很长很长的游戏名字" height="30" width="80" speed="5" />
        <Control name="away" />
    </VerticalLayout>)")),
                      Factory);
    ASSERT_TRUE(window.Open());
    CPaintManagerUI& manager = window.GetPaintManager();
    auto* fits = window.FindAs<CScrollTextUI>("short");
    auto* scrolls = window.FindAs<CScrollTextUI>("long");
    QTest::mouseMove(window.GetWidget(), window.Centre("short"));
    EXPECT_FALSE(manager.HasTimer(fits, CScrollTextUI::kScrollTimer));
    EXPECT_TRUE(fits->GetTextStyle() & DT_END_ELLIPSIS);

    QTest::mouseMove(window.GetWidget(), window.Centre("long"));
    EXPECT_TRUE(manager.HasTimer(scrolls, CScrollTextUI::kScrollTimer));
    EXPECT_FALSE(scrolls->GetTextStyle() & DT_END_ELLIPSIS);
    EXPECT_GT(scrolls->GetScrollTextWidth(), 80);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scrolls->GetScrollOffset() >= 3; }, 3000));

    QTest::mouseMove(window.GetWidget(), window.Centre("away"));
    EXPECT_FALSE(manager.HasTimer(scrolls, CScrollTextUI::kScrollTimer));
    EXPECT_EQ(scrolls->GetScrollOffset(), 0);
    EXPECT_TRUE(scrolls->GetTextStyle() & DT_END_ELLIPSIS);
}

TEST(Controls, ALoadShorterThanTheDelayNeverShowsTheIndicator)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <Loading name="slow"><Label name="Lb_LoadingText" /></Loading>
        <Loading name="quick" delaytime="30"><Label name="Lb_LoadingText" /></Loading>
    </VerticalLayout>)")),
                      Factory);
    ASSERT_TRUE(window.Open());
    auto* slow = window.FindAs<CLoadingUI>("slow");
    auto* quick = window.FindAs<CLoadingUI>("quick");
    EXPECT_FALSE(slow->IsVisible()); // hidden until asked for
    EXPECT_EQ(slow->GetDelay(), 1000);

    // A load of a quarter second under the default delay: shown and hidden, never seen.
    slow->SetVisible(true);
    EXPECT_TRUE(slow->IsShown());
    EXPECT_FALSE(QTest::qWaitFor([&] { return slow->IsVisible(); }, 250));
    slow->SetVisible(false);
    EXPECT_FALSE(window.GetPaintManager().HasTimer(slow, CLoadingUI::kFrameTimer));
    EXPECT_FALSE(slow->IsVisible());

    // A load longer than the delay shows the indicator and its frames.
    quick->SetVisible(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return quick->IsVisible(); }, 3000));
    CControlUI* text = quick->FindSubControl(QStringLiteral("Lb_LoadingText"));
    ASSERT_TRUE(text);
    QStringList frames;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (!frames.contains(text->GetText()))
                frames.append(text->GetText());
            return frames.size() == 4;
        },
        3000));
    frames.sort();
    EXPECT_EQ(frames, (QStringList{"加载中", "加载中 .", "加载中 . .", "加载中 . . ."}));
    quick->SetVisible(false);
    EXPECT_FALSE(quick->IsVisible());
    EXPECT_FALSE(window.GetPaintManager().HasTimer(quick, CLoadingUI::kFrameTimer));
}

TEST(Controls, TheBadgeShowsOnlyForANumberAboveZero)
{
    TestWindow window(Layout(QStringLiteral(R"(<HorizontalLayout bkcolor="#FFFFFFFF">
        <ButtonEx name="badge" width="60" height="40" NumBkImage="file='skin\ui\num_badge.png' dest='34,0,58,14'" />
        <Control />
    </HorizontalLayout>)")),
                      Factory);
    ASSERT_TRUE(window.Open());
    auto* button = window.FindAs<CButtonUIEx>("badge");
    const QPoint badge = button->GetPos().topLeft() + QPoint(37, 7);
    EXPECT_EQ(QColor(Grab(window).pixel(badge)), QColor(Qt::white));
    button->SetNumber(3);
    const QColor shown = Grab(window).pixel(badge);
    EXPECT_GT(shown.red(), 200);
    EXPECT_LT(shown.green(), 120); // the red badge
    button->SetNumber(0);
    EXPECT_EQ(QColor(Grab(window).pixel(badge)), QColor(Qt::white));
}

TEST(Controls, AGameIconsPictureLeavesTheCacheWithTheIcon)
{
    ravelo::test::TempFolder temp;
    QImage cover(40, 40, QImage::Format_ARGB32);
    cover.fill(Qt::blue);
    const QString file = QString::fromStdString(temp / "cover.png");
    ASSERT_TRUE(cover.save(file));
    TestWindow window(Layout(QStringLiteral(R"(<HorizontalLayout name="row">
        <GameIcon name="icon" width="40" height="40" bkimage="%1" frame="skin\ui\game_frame.png" />
        <Control />
    </HorizontalLayout>)")
                                 .arg(file)),
                      Factory);
    ASSERT_TRUE(window.Open());
    const QImage shot = Grab(window);
    EXPECT_EQ(QColor(shot.pixel(20, 20)), QColor(Qt::blue));
    EXPECT_NE(QColor(shot.pixel(0, 0)), QColor(Qt::blue)); // the frame rounds the corner
    CPaintManagerUI& manager = window.GetPaintManager();
    EXPECT_FALSE(manager.GetImage(file).isNull());
    static_cast<CContainerUI*>(window.Find("row"))->Remove(window.Find("icon"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager.GetImage(file).isNull(); }, 2000));
    EXPECT_FALSE(manager.GetImage(QStringLiteral("skin\\ui\\game_frame.png")).isNull());
}

TEST(Controls, AScreenshotThatCannotBeDrawnTakesItsControlAway)
{
    TestWindow window(Layout(QStringLiteral("<HorizontalLayout name=\"row\" />")), Factory);
    ASSERT_TRUE(window.Open());
    auto* shot = new CImageUIEx;
    shot->SetAttribute(QStringLiteral("autoremovecontorl"), QStringLiteral("true"));
    shot->SetBkImage(QStringLiteral("/nonexistent/screenshot.png"));
    static_cast<CContainerUI*>(window.Find("row"))->Add(shot);
    Grab(window);
    EXPECT_FALSE(shot->IsVisible());
}

TEST(Controls, TheWebViewOpensOnlyWebAddressesInTheBrowser)
{
    std::vector<QUrl> opened;
    SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <wkeWebkit name="web" url="https://example.com/topic?id=3" title="专题" />
        <wkeWebkit name="bad" url="file:///etc/passwd" />
    </VerticalLayout>)")),
                      Factory);
    ASSERT_TRUE(window.Open());
    QTest::mouseClick(window.GetWidget(), Qt::LeftButton, {}, window.Centre("web"));
    QTest::mouseClick(window.GetWidget(), Qt::LeftButton, {}, window.Centre("bad"));
    SetUrlOpener(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://example.com/topic?id=3")));
    EXPECT_EQ(window.FindAs<CWkeWebkitUI>("web")->GetTitle(), "专题");
    EXPECT_FALSE(window.FindAs<CWkeWebkitUI>("bad")->CanOpen());
}

TEST(Controls, APageWindowLivesInsideItsContainerAndFollowsItsVisibility)
{
    std::vector<QString> made;
    CWindowContainerUI::SetFrameFactory([&](const QString& frame) -> std::unique_ptr<CWindowWnd> {
        made.push_back(frame);
        return std::make_unique<TestWindow>(
            Layout(QStringLiteral("<VerticalLayout bkcolor=\"#FF00FF00\" />")));
    });
    TestWindow window(Layout(QStringLiteral(R"(<TabLayout name="tab" inset="10,10,10,10">
        <WindowContainer name="featured" framename="FeaturedFrame" />
        <WindowContainer name="stranger" framename="NotAFrame" />
    </TabLayout>)")),
                      Factory);
    ASSERT_TRUE(window.Open());
    CWindowContainerUI::SetFrameFactory(nullptr);
    EXPECT_EQ(made, std::vector<QString>{"FeaturedFrame"});
    auto* featured = window.FindAs<CWindowContainerUI>("featured");
    ASSERT_TRUE(featured->GetWindow());
    EXPECT_EQ(window.FindAs<CWindowContainerUI>("stranger")->GetWindow(), nullptr);
    window.Layout();
    QWidget* page = featured->GetWindow()->GetWidget();
    EXPECT_EQ(page->parentWidget(), window.GetWidget());
    EXPECT_EQ(page->geometry(), featured->GetPos().adjusted(1, 1, -1, -1));
    EXPECT_TRUE(page->isVisible());
    window.FindAs<CTabLayoutUI>("tab")->SelectItem(1);
    EXPECT_FALSE(page->isVisible());
    window.FindAs<CTabLayoutUI>("tab")->SelectItem(0);
    EXPECT_TRUE(page->isVisible());
}

TEST(Controls, GridLinesRunBetweenCellsOnly)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout bkcolor="#FFFFFFFF">
        <GridTileLayout name="grid" columns="2" itemsize="0,40" childpadding="10" childvpadding="10" height="90"
                        gridlinecolor="#FFFF0000" gridlinesize="2">
          <Control /><Control /><Control /><Control />
        </GridTileLayout>
        <Control />
    </VerticalLayout>)"),
                             QStringLiteral("size=\"210,200\"")),
                      Factory);
    ASSERT_TRUE(window.Open(210, 200));
    const QImage shot = Grab(window);
    // Columns are 100 wide with a 10-pixel gap: the line runs down its middle (x 104..105).
    EXPECT_EQ(QColor(shot.pixel(104, 20)), QColor(Qt::red));
    EXPECT_EQ(QColor(shot.pixel(50, 44)), QColor(Qt::red)); // between the rows
    EXPECT_EQ(QColor(shot.pixel(50, 20)), QColor(Qt::white));
    EXPECT_EQ(QColor(shot.pixel(205, 20)), QColor(Qt::white)); // none after the last column
    EXPECT_EQ(QColor(shot.pixel(50, 95)), QColor(Qt::white));  // none after the last row
}

TEST(Controls, ALeftBarEntryShowsItsMarkerOnlyWhenSelected)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout bkcolor="#FF272D3A">
        <LeftBarOption name="entry" group="left" height="40" canexpansion="true"
                       selectedleftimage="file='skin\ui\leftbar_marker.png' dest='0,8,4,32'" />
        <LeftBarOption name="other" group="left" height="40" />
        <Control />
    </VerticalLayout>)")),
                      Factory);
    ASSERT_TRUE(window.Open());
    auto* entry = window.FindAs<CLeftBarOptionUI>("entry");
    EXPECT_TRUE(entry->CanExpansion());
    const QPoint marker = entry->GetPos().topLeft() + QPoint(1, 20);
    EXPECT_EQ(QColor(Grab(window).pixel(marker)), QColor(0x27, 0x2D, 0x3A));
    entry->Selected(true, false);
    EXPECT_EQ(QColor(Grab(window).pixel(marker)), QColor(0xFF, 0x6A, 0x3D));
    window.FindAs<COptionUI>("other")->Selected(true, false);
    EXPECT_EQ(QColor(Grab(window).pixel(marker)), QColor(0x27, 0x2D, 0x3A));
}
