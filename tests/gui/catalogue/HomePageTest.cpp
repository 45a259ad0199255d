// The home page and the special-topic page against ravelo-server's demo catalogue: one answer fills
// the page, the banner's rotation and its links, topics opened through the main window, failures that
// retry, and a topic's list that keeps its page.
#include "controls/CFlipUI.h"
#include "gui/catalogue/CFeaturedFrame.h"
#include "gui/catalogue/CGameItemUI.h"
#include "gui/catalogue/CLoopBanner.h"
#include "gui/catalogue/CSpecialFrame.h"
#include "gui/catalogue/CWeekHotSpecialUI.h"
#include "gui/catalogue/CatalogueFixture.h"
#include "gui/catalogue/CatalogueLinks.h"
#include "gui/catalogue/GameTileTracker.h"
#include "gui/common/GuiMessages.h"
#include "gui/support/GuiDriver.h"
#include "platform/IniFile.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/WinDefines.h"

#include <QMouseEvent>
#include <QWidget>

using namespace ravelo;
using namespace ravelo::test;

namespace {

class HomePageTest : public CatalogueFixture
{
protected:
    void TearDown() override
    {
        m_home.reset();
        m_special.reset();
        CatalogueFixture::TearDown();
    }

    CFeaturedFrame& OpenHome()
    {
        m_home = std::make_unique<CFeaturedFrame>(Context());
        EXPECT_TRUE(m_home->Create(0, QStringLiteral("home"), UiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 1080, 610));
        m_home->GetWidget()->show();
        return *m_home;
    }
    bool Filled(CFeaturedFrame& page)
    {
        return GuiDriver::WaitFor([&] { return page.IsFilled() || page.IsFailed(); }) && page.IsFilled();
    }

    CSpecialFrame& OpenSpecial()
    {
        m_special = std::make_unique<CSpecialFrame>(Context());
        EXPECT_TRUE(
            m_special->Create(0, QStringLiteral("topic"), UiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 1080, 610));
        m_special->GetWidget()->show();
        return *m_special;
    }
    void OpenTopic(CSpecialFrame& page, int topic)
    {
        page.PostMessage(
            UM_OPEN_SPECIAL, static_cast<UiLib::WPARAM>(topic),
            std::make_unique<TypedPayload<std::u16string>>(std::make_unique<std::u16string>(u"专题")));
    }

    std::unique_ptr<CFeaturedFrame> m_home;
    std::unique_ptr<CSpecialFrame> m_special;
};

/// A suite of its own, with a server of its own, whose banners the tests rewrite.
class HomeBannerTest : public HomePageTest
{
protected:
    static void SetUpTestSuite() { HomePageTest::SetUpTestSuite(); }
};

/// Moves the pointer over the window, as the mouse does.
void MovePointer(UiLib::WindowImplBase& window, QPoint at)
{
    QWidget* widget = window.GetWidget();
    widget->repaint(); // lays the controls out where they show
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

} // namespace

TEST(CatalogueLinksTest, OnlyWebAddressesAndPlainGameIdsLeadAnywhere)
{
    EXPECT_EQ(LinkAction::OpenAddress, BannerActionFor("url", "https://example.org/a?b=c"));
    EXPECT_EQ(LinkAction::OpenAddress, BannerActionFor("new_url", "HTTP://127.0.0.1:8650/portal/"));
    EXPECT_EQ(LinkAction::None, BannerActionFor("url", "file:///etc/passwd"));
    EXPECT_EQ(LinkAction::None, BannerActionFor("url", "javascript:alert(1)"));
    EXPECT_EQ(LinkAction::None, BannerActionFor("url", "http://"));
    EXPECT_EQ(LinkAction::None, BannerActionFor("url", "http://host/a b"));
    EXPECT_EQ(LinkAction::OpenGame, BannerActionFor("game", "1011"));
    EXPECT_EQ(LinkAction::None, BannerActionFor("game", "../1011"));
    EXPECT_EQ(LinkAction::None, BannerActionFor("game", ""));
    EXPECT_EQ(LinkAction::None, BannerActionFor("popup", "1011"));
    EXPECT_EQ(LinkAction::None, BannerActionFor("", "https://example.org/"));

    EXPECT_EQ(12, TopicNumber("12"));
    EXPECT_EQ(0, TopicNumber("x"));
    EXPECT_EQ(0, TopicNumber("12x"));
    EXPECT_EQ(0, TopicNumber(""));
    EXPECT_EQ(0, TopicNumber("99999999999"));
}

TEST_F(HomePageTest, OneAnswerFillsThePageAndTopicsOpenThroughTheMainWindow)
{
    const std::size_t asked = LoggedRequests("action=pc_index").size();
    CFeaturedFrame& page = OpenHome();
    ASSERT_TRUE(Filled(page));
    EXPECT_EQ(asked + 1, LoggedRequests("action=pc_index").size()); // one request fills everything
    EXPECT_FALSE(GuiDriver::Find(page, QStringLiteral("Loading"))->IsVisible());
    EXPECT_TRUE(GuiDriver::Find(page, QStringLiteral("Vl_Content"))->IsVisible());
    ASSERT_TRUE(page.Banner());
    EXPECT_EQ(4, page.Banner()->PageCount());
    EXPECT_TRUE(page.Banner()->IsRotating());
    EXPECT_EQ(4, page.Topics()->TopicCount());
    // The featured game, the weekly chart, five genre charts, new and recommended games.
    EXPECT_GE(page.Tiles().TileCount(), 1u + 8 + 5 + 8 + 8);
    auto* view = dynamic_cast<UiLib::CContainerUI*>(GuiDriver::Find(page, QStringLiteral("NewGameView")));
    ASSERT_TRUE(view);
    EXPECT_EQ(8, view->GetCount());

    // A topic card: the main window is asked to show topic 1 with its title.
    ASSERT_TRUE(GuiDriver::ClickControl(page, page.Topics()->CardAt(0)));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !m_mainWindow.Received(UM_SHOW_SPECIAL).empty(); }));
    const auto shown = m_mainWindow.Received(UM_SHOW_SPECIAL).front();
    EXPECT_EQ(1u, shown.wParam);
    EXPECT_EQ(u"格斗对决", shown.title);

    // A tile's body opens the game's detail.
    auto* hot = dynamic_cast<UiLib::CContainerUI*>(GuiDriver::Find(page, QStringLiteral("WeekHotGameView")));
    ASSERT_TRUE(hot && hot->GetCount() > 0);
    auto* tile = dynamic_cast<CGameItemUI*>(hot->GetItemAt(0));
    ASSERT_TRUE(tile);
    ASSERT_TRUE(GuiDriver::ClickControl(page, tile));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !m_details.empty(); }));
    EXPECT_EQ(tile->GetGame().gameid, m_details.back());

    // The first banner names a game: a click opens its detail, by id only.
    m_details.clear();
    page.Banner()->ShowPage(0);
    ASSERT_TRUE(GuiDriver::ClickControl(page, page.Banner()));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !m_details.empty(); }));
    EXPECT_EQ(std::vector<std::string>{"1011"}, m_details);
    // The last banner is the portal: it opens in the browser, not as a game.
    m_details.clear();
    page.Banner()->ShowPage(3);
    ASSERT_TRUE(GuiDriver::ClickControl(page, page.Banner()));
    ASSERT_EQ(1u, m_opened.size());
    EXPECT_EQ(Server().BaseUrl() + "/portal/", m_opened[0]);
    EXPECT_TRUE(m_details.empty());
}

TEST_F(HomePageTest, HoverStopsTheRotationAndLeavingOrShowingThePageAgainRestartsIt)
{
    CFeaturedFrame& page = OpenHome();
    ASSERT_TRUE(Filled(page));
    CLoopBanner& banner = *page.Banner();
    ASSERT_TRUE(banner.IsRotating());
    page.GetWidget()->repaint();
    MovePointer(page, banner.GetPos().center());
    EXPECT_FALSE(banner.IsRotating());
    // Onto a dot is still over the banner.
    MovePointer(page, banner.GetPos().bottomRight() - QPoint(30, 14));
    EXPECT_FALSE(banner.IsRotating());
    MovePointer(page, QPoint(banner.GetPos().center().x(), banner.GetPos().bottom() + 60));
    EXPECT_TRUE(banner.IsRotating());

    // A hidden page (another tab, the program in the tray) keeps the banner still.
    page.GetWidget()->hide();
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return !banner.IsRotating(); }));
    page.GetWidget()->show();
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return banner.IsRotating(); }));

    // The timer moves the pages on.
    const int first = banner.CurrentPage();
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return banner.CurrentPage() != first; }, 8000));
}

TEST_F(HomePageTest, AFailedHomeRequestShowsTheFailureAndAClickAsksAgain)
{
    WriteProfileString(SettingsFile(), "Service", "ApiUrl", "http://127.0.0.1:9/clientapi/");
    CFeaturedFrame& page = OpenHome();
    UiLib::CControlUI* failed = GuiDriver::Find(page, QStringLiteral("LoadingFail"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return failed->IsVisible(); }));
    EXPECT_FALSE(page.IsFilled());
    EXPECT_FALSE(GuiDriver::Find(page, QStringLiteral("Vl_Content"))->IsVisible());

    WriteProfileString(SettingsFile(), "Service", "ApiUrl", Server().BaseUrl() + "/clientapi/");
    ASSERT_TRUE(GuiDriver::ClickControl(page, failed));
    ASSERT_TRUE(Filled(page));
    EXPECT_FALSE(failed->IsVisible());
    EXPECT_GT(page.Tiles().TileCount(), 0u);
}

TEST_F(HomePageTest, TheSameTopicTwiceKeepsItsPageAndAnotherStartsAtPageOne)
{
    CSpecialFrame& page = OpenSpecial();
    // Ten games a page, so that topic 4 (22 games) has three.
    auto* flip = dynamic_cast<CFlipUI*>(GuiDriver::Find(page, QStringLiteral("Flip")));
    ASSERT_TRUE(flip);
    flip->SetAttribute(QStringLiteral("pagecardinalnumber"), QStringLiteral("10"));
    OpenTopic(page, 4);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return page.IsLoaded() && !page.IsLoading(); }));
    EXPECT_EQ(10u, page.Tiles().size());
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("PageLabelIndex2")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return page.CurrentPage() == 2 && !page.IsLoading(); }));
    const std::size_t asked = LoggedRequests("action=specialinfo").size();
    EXPECT_NE(std::string::npos, LoggedRequests("action=specialinfo").back().find("page=2"));

    // The same topic again: no request, the same page.
    page.SendMessage(
        UM_OPEN_SPECIAL, 4,
        std::make_unique<TypedPayload<std::u16string>>(std::make_unique<std::u16string>(u"专题")));
    EXPECT_EQ(2, page.CurrentPage());
    EXPECT_FALSE(page.IsLoading());
    EXPECT_EQ(10u, page.Tiles().size());

    // Another topic starts at page 1 and never shows the old topic's list.
    OpenTopic(page, 1);
    ASSERT_TRUE(
        GuiDriver::WaitFor([&] { return page.Topic() == 1 && page.IsLoaded() && !page.IsLoading(); }));
    EXPECT_EQ(asked + 1, LoggedRequests("action=specialinfo").size());
    const std::string line = LoggedRequests("action=specialinfo").back();
    EXPECT_NE(std::string::npos, line.find("id=001"));
    EXPECT_NE(std::string::npos, line.find("page=1&"));
    EXPECT_EQ(6u, page.Tiles().size());

    // Back goes home through the main window.
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("Btn_Back")));
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return !m_mainWindow.Received(UM_SHOW_HOME_PAGE).empty(); }));
}

TEST_F(HomePageTest, ATopicAskedForWhileAnotherLoadsNeverShowsTheOtherOnesList)
{
    CSpecialFrame& page = OpenSpecial();
    OpenTopic(page, 1);
    OpenTopic(page, 4); // dropped by the busy slot; the answer for topic 1 comes back and is not shown
    ASSERT_TRUE(
        GuiDriver::WaitFor([&] { return page.Topic() == 4 && page.IsLoaded() && !page.IsLoading(); }));
    EXPECT_EQ(22u, page.Tiles().size());
    EXPECT_NE(std::string::npos, LoggedRequests("action=specialinfo").back().find("id=004"));
}

TEST_F(HomePageTest, ATopicThatIsNotANumberIsAskedForAsTopic000)
{
    CSpecialFrame& page = OpenSpecial();
    OpenTopic(page, TopicNumber("x"));
    UiLib::CControlUI* failed = GuiDriver::Find(page, QStringLiteral("LoadingFail"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return failed->IsVisible(); })); // no such topic
    ASSERT_FALSE(LoggedRequests("action=specialinfo").empty());
    EXPECT_NE(std::string::npos, LoggedRequests("action=specialinfo").back().find("id=000"));
    EXPECT_TRUE(page.Tiles().empty());
}

TEST_F(HomeBannerTest, AnAnswerWithoutBannersLeavesNoPagesAndNoRotation)
{
    ChangeCatalogue("DELETE FROM ads WHERE slot = 'ads_index_left'");
    CFeaturedFrame& page = OpenHome();
    ASSERT_TRUE(Filled(page));
    EXPECT_EQ(0, page.Banner()->PageCount());
    EXPECT_FALSE(page.Banner()->IsRotating());
    page.GetWidget()->repaint();
    MovePointer(page, page.Banner()->GetPos().center());
    MovePointer(page, QPoint(5, page.Banner()->GetPos().bottom() + 60));
    EXPECT_FALSE(page.Banner()->IsRotating());
    ASSERT_TRUE(GuiDriver::ClickControl(page, page.Banner()));
    EXPECT_TRUE(m_details.empty());
    EXPECT_TRUE(m_opened.empty());
}

TEST_F(HomeBannerTest, BannersWithAnUnknownActionOrAnUnsafeTargetDoNothing)
{
    ChangeCatalogue("DELETE FROM ads WHERE slot = 'ads_index_left';"
                    "INSERT INTO ads (id, slot, seq, title, target, action, icon, description) VALUES"
                    " (101, 'ads_index_left', 1, 'a', '1011', 'popup', '', ''),"
                    " (102, 'ads_index_left', 2, 'b', 'file:///etc/passwd', 'url', '', ''),"
                    " (103, 'ads_index_left', 3, 'c', '../../1011', 'game', '', ''),"
                    " (104, 'ads_index_left', 4, 'd', 'https://example.org/x', 'new_url', '', '')");
    CFeaturedFrame& page = OpenHome();
    ASSERT_TRUE(Filled(page));
    ASSERT_EQ(4, page.Banner()->PageCount());
    for (int i = 0; i < 3; ++i) {
        page.Banner()->ShowPage(i);
        ASSERT_TRUE(GuiDriver::ClickControl(page, page.Banner()));
    }
    EXPECT_TRUE(m_details.empty());
    EXPECT_TRUE(m_opened.empty());
    page.Banner()->ShowPage(3);
    ASSERT_TRUE(GuiDriver::ClickControl(page, page.Banner()));
    EXPECT_EQ(std::vector<std::string>{"https://example.org/x"}, m_opened);
}
