// The category and search pages against ravelo-server's demo catalogue: filters and paging as the
// server sees them, answers for other filters, failures and retries, and tiles that follow their game.
#include "app/Engines.h"
#include "download/DownloadManager.h"
#include "download/DownloadMessages.h"
#include "gui/catalogue/CGameItemUI.h"
#include "gui/catalogue/CGameListPage.h"
#include "gui/catalogue/CatalogueActions.h"
#include "gui/common/GuiMessages.h"
#include "gui/play/GameStarter.h"
#include "gui/support/AnsweringHost.h"
#include "gui/support/GuiDriver.h"
#include "gui/support/GuiFixture.h"
#include "library/CMyGameStore.h"
#include "platform/IniFile.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/WinDefines.h"

#include <QWidget>

using namespace ravelo;
using namespace ravelo::test;

namespace {

class GameListPageTest : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        engines().Downloads().SetPrompts(&m_host);
        engines().Downloads().Start(0, 0);
        m_starter = std::make_unique<GameStarter>(engines().Launcher(), m_host);
        m_actions = std::make_unique<CatalogueActions>(engines(), m_host, *m_starter);
    }
    void TearDown() override
    {
        m_page.reset();
        m_actions->Shutdown();
        m_starter->Shutdown();
        GuiFixture::TearDown();
    }

    CGameListPage& OpenPage(bool search)
    {
        m_page =
            std::make_unique<CGameListPage>(CataloguePageContext{engines(), *m_actions, 0, nullptr}, search);
        EXPECT_TRUE(m_page->Create(0, QStringLiteral("page"), UiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 1080, 610));
        m_page->GetWidget()->show();
        return *m_page;
    }

    /// Waits until the page shows a list for what it wants.
    bool Loaded(CGameListPage& page)
    {
        return GuiDriver::WaitFor([&] { return !page.IsLoading() && !page.Tiles().empty(); });
    }

    AnsweringHost m_host;
    std::unique_ptr<GameStarter> m_starter;
    std::unique_ptr<CatalogueActions> m_actions;
    std::unique_ptr<CGameListPage> m_page;
};

} // namespace

TEST_F(GameListPageTest, FiltersAndPagesReachTheServerAsTheyShould)
{
    CGameListPage& page = OpenPage(false);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(page.Tiles().size(), 40u); // the demo has more than one page
    // "格斗" is the type filter's third entry: category 002 on page 1.
    auto* type = dynamic_cast<UiLib::CContainerUI*>(GuiDriver::Find(page, QStringLiteral("Type")));
    ASSERT_TRUE(type);
    ASSERT_TRUE(GuiDriver::ClickControl(page, type->GetItemAt(2)));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !LoggedRequests("categoryid=002").empty(); }));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !page.IsLoading(); }));
    EXPECT_EQ(page.Query().category, 2);
    EXPECT_NE(LoggedRequests("categoryid=002").back().find("page=1"), std::string::npos);
    for (CGameItemUI* tile : page.Tiles())
        EXPECT_EQ(tile->GetGame().categoryshortname, u"格斗");

    // The previous-page button on page 1 asks for page 1 again, never page 0.
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("Type"))); // back to everything
    ASSERT_TRUE(GuiDriver::ClickControl(page, type->GetItemAt(0)));
    ASSERT_TRUE(Loaded(page));
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("PageLabelIndex2")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return page.Query().page == 2 && !page.IsLoading(); }));
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("PageLabelbutton1")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return page.Query().page == 1 && !page.IsLoading(); }));
    EXPECT_TRUE(LoggedRequests("page=0&").empty());
}

TEST_F(GameListPageTest, AnAnswerForOtherFiltersIsAskedForAgainAndNeverShown)
{
    CGameListPage& page = OpenPage(false);
    ASSERT_TRUE(Loaded(page));
    auto* type = dynamic_cast<UiLib::CContainerUI*>(GuiDriver::Find(page, QStringLiteral("Type")));
    // Two filters in a row: the second request is dropped while the first runs, and the first's
    // answer, for "动作", comes to a page that now wants "射击".
    GuiDriver::ClickControl(page, type->GetItemAt(1));
    GuiDriver::ClickControl(page, type->GetItemAt(3));
    ASSERT_TRUE(GuiDriver::WaitFor([&] {
        return !page.IsLoading() && !page.Tiles().empty() &&
               page.Tiles().front()->GetGame().categoryshortname == u"射击";
    }));
    EXPECT_EQ(page.Query().category, 3);
    for (CGameItemUI* tile : page.Tiles())
        EXPECT_EQ(tile->GetGame().categoryshortname, u"射击");
}

TEST_F(GameListPageTest, AFailedRequestShowsTheFailureWhichRetriesWhenClicked)
{
    // The catalogue answers nowhere: the page shows its failure.
    WriteProfileString(SettingsFile(), "Service", "ApiUrl", "http://127.0.0.1:9/clientapi/");
    CGameListPage& page = OpenPage(false);
    UiLib::CControlUI* failed = GuiDriver::Find(page, QStringLiteral("LoadingFail"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return failed->IsVisible(); }));
    EXPECT_FALSE(GuiDriver::Find(page, QStringLiteral("Loading"))->IsVisible());
    EXPECT_TRUE(page.Tiles().empty());

    // Back again: a click on the failure tries once more.
    WriteProfileString(SettingsFile(), "Service", "ApiUrl", Server().BaseUrl() + "/clientapi/");
    ASSERT_TRUE(GuiDriver::ClickControl(page, failed));
    ASSERT_TRUE(Loaded(page));
    EXPECT_FALSE(failed->IsVisible());
}

TEST_F(GameListPageTest, AnEmptyAnswerEmptiesTheGridAndHidesTheLoading)
{
    CGameListPage& page = OpenPage(true);
    ravelo::PostMessage(page.GetHWND(), UM_SEARCH_KEYWORD, 0, std::make_unique<std::string>("三国"));
    ASSERT_TRUE(Loaded(page));
    ravelo::PostMessage(page.GetHWND(), UM_SEARCH_KEYWORD, 0,
                        std::make_unique<std::string>("没有这个游戏zz"));
    ASSERT_TRUE(
        GuiDriver::WaitFor([&] { return page.Query().keyword == "没有这个游戏zz" && !page.IsLoading(); }));
    EXPECT_TRUE(page.Tiles().empty());
    EXPECT_FALSE(GuiDriver::Find(page, QStringLiteral("Loading"))->IsVisible());
    EXPECT_FALSE(LoggedRequests("keyword=").empty());
}

TEST_F(GameListPageTest, TilesFollowTheirGameFromInstallToPlay)
{
    CGameListPage& page = OpenPage(false);
    ASSERT_TRUE(Loaded(page));
    CGameItemUI* tile = page.Tiles().front();
    const std::string id = tile->GetGame().gameid;
    EXPECT_EQ(tile->GetState(), 0);
    EXPECT_EQ(GuiDriver::Find(page, QStringLiteral("Btn_InstallGame"))->GetText(), QStringLiteral("安装"));

    // A state the tiles do not show changes nothing; one they show changes the button.
    ravelo::PostMessage(page.GetHWND(), UM_ITEM_STATE, 9,
                        std::make_unique<ItemStateCookie>(ItemStateCookie{id, 1}));
    ravelo::PostMessage(page.GetHWND(), UM_ITEM_STATE, 9,
                        std::make_unique<ItemStateCookie>(ItemStateCookie{id, 0}));
    GuiDriver::WaitFor([] { return false; }, 100);
    EXPECT_EQ(tile->GetState(), 0);

    // The tile's button installs: the emulator is set up, the game downloaded and recorded, and the
    // tile turns into the play button.
    UiLib::CControlUI* button = tile->FindSubControl(QStringLiteral("Btn_InstallGame"));
    ASSERT_TRUE(GuiDriver::ClickControl(page, button));
    ASSERT_TRUE(
        GuiDriver::WaitFor([&] { return page.TileOf(id) && page.TileOf(id)->GetState() == 8; }, 30000))
        << "state " << page.TileOf(id)->GetState();
    EXPECT_EQ(button->GetText(), QStringLiteral("启动"));
    EXPECT_TRUE(engines().MyGames().HasInstalledGame(id));
    EXPECT_TRUE(m_host.Shown().empty());
}
