// The game detail window and the suggestion window against ravelo-server: the rating's width, the
// detail filled from one request (or the cache), the live download state on its button, and
// suggestions kept by the server or refused with a reason.
#include "download/DownloadManager.h"
#include "gui/catalogue/CGameInfoFrameNew.h"
#include "gui/catalogue/CLoopBanner.h"
#include "gui/catalogue/CSuggestionFrame.h"
#include "gui/catalogue/CatalogueFixture.h"
#include "gui/catalogue/GameDetailView.h"
#include "gui/common/GuiMessages.h"
#include "gui/support/GuiDriver.h"
#include "platform/IniFile.h"
#include "service/CatalogueClient.h"
#include "service/SuggestionRequest.h"
#include "store/CppSQLite3Query.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/WinDefines.h"

#include <QWidget>

using namespace ravelo;
using namespace ravelo::test;

namespace {

class GameDetailTest : public CatalogueFixture
{
protected:
    void TearDown() override
    {
        m_detail.reset();
        m_suggestion.reset();
        CatalogueFixture::TearDown();
    }

    CGameInfoFrameNew& OpenDetail(const CGame& game)
    {
        m_detail = std::make_unique<CGameInfoFrameNew>(engines(), *m_actions, *m_worker, game);
        EXPECT_NE(0u, m_detail->Create(0, QStringLiteral("游戏信息"), UiLib::UI_WNDSTYLE_DIALOG, 0));
        m_detail->GetWidget()->show();
        return *m_detail;
    }
    void CloseDetail()
    {
        m_detail->Close(kDialogClosed);
        GuiDriver::WaitFor([&] { return m_detail->GetHWND() == 0; }, 2000);
        m_detail.reset();
    }

    CSuggestionFrame& OpenSuggestion()
    {
        m_suggestion = std::make_unique<CSuggestionFrame>(*m_worker);
        EXPECT_NE(0u, m_suggestion->Create(0, QStringLiteral("建议与反馈"), UiLib::UI_WNDSTYLE_DIALOG, 0));
        m_suggestion->GetWidget()->show();
        return *m_suggestion;
    }

    static int StoredSuggestions(const std::string& content)
    {
        CppSQLite3DB db;
        db.open(Server().Root() + "/catalogue.db");
        CppSQLite3Query rows = db.execQuery("SELECT content FROM suggestions");
        int found = 0;
        for (; !rows.eof(); rows.nextRow())
            found += rows.fieldString(0) == content ? 1 : 0;
        return found;
    }

    std::unique_ptr<CGameInfoFrameNew> m_detail;
    std::unique_ptr<CSuggestionFrame> m_suggestion;
};

} // namespace

TEST(GameDetailViewTest, StarWidthsFollowTheHalfStepsAndEverythingElseIsFull)
{
    const std::pair<const char*, int> cases[] = {
        {"0.5", 9},    {"1.0", 22},  {"1.5", 32},  {"2", 44},     {"2.5", 55},  {"3.0", 69},
        {"3.5", 78},   {"4.0", 90},  {"4.5", 100}, {"5.0", 109},  {"3.7", 109}, {"0", 109},
        {"-1.5", 109}, {"abc", 109}, {"", 109},    {"3.5x", 109}, {"nan", 109}, {"1e300", 109},
    };
    for (const auto& [rating, width] : cases)
        EXPECT_EQ(width, StarWidth(rating)) << rating;
    EXPECT_EQ("file='skin\\ui\\level_foreimage.png' source='0,0,78,18' dest='0,0,78,18'", StarImage(78));
    EXPECT_EQ("120MB", SizeText("120"));
    EXPECT_EQ("", SizeText(""));
}

TEST_F(GameDetailTest, TheRatingIsDrawnToItsWidthAndAnEmptyDetailBannerStaysHidden)
{
    CGame game;
    game.gameid = "999999"; // unknown to the server: the window keeps the list's data
    game.gamename = u"不存在的游戏";
    game.rating = "3.5";
    CGameInfoFrameNew& detail = OpenDetail(game);
    EXPECT_EQ(78, detail.ShownStarWidth());
    EXPECT_EQ(QStringLiteral("不存在的游戏"),
              GuiDriver::Find(detail, QStringLiteral("Lb_GameName1"))->GetText());
    // No home page answer yet: no detail advertisements, no banner.
    EXPECT_FALSE(GuiDriver::Find(detail, QStringLiteral("Hl_Banner"))->IsVisible());
    ASSERT_TRUE(GuiDriver::WaitFor([] { return !LoggedRequests("gameid=999999").empty(); }));
    CloseDetail();

    game.rating = "3.7";
    EXPECT_EQ(109, OpenDetail(game).ShownStarWidth());
}

TEST_F(GameDetailTest, TheSameGameTwiceWithTheCacheOnMakesOneRequest)
{
    CGame game;
    game.gameid = "1011"; // as a banner opens it
    CGameInfoFrameNew& first = OpenDetail(game);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return first.HasDetail() && !first.Screenshots().empty(); }));
    EXPECT_EQ(u"龙之剑", first.Game().gamename);
    EXPECT_EQ(QStringLiteral("龙之剑"), GuiDriver::Find(first, QStringLiteral("Lb_GameName1"))->GetText());
    EXPECT_FALSE(GuiDriver::Find(first, QStringLiteral("Rd_GameIntroduce"))->GetText().isEmpty());
    EXPECT_LE(first.Screenshots().size(), static_cast<std::size_t>(kMaxScreenshots));
    EXPECT_EQ(StarWidth(first.Game().rating), first.ShownStarWidth());
    EXPECT_EQ(QStringLiteral("安装"), GuiDriver::Find(first, QStringLiteral("Btn_InstallGame"))->GetText());
    CloseDetail();

    CGameInfoFrameNew& second = OpenDetail(game);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return second.HasDetail() && !second.Screenshots().empty(); }));
    EXPECT_EQ(1u, LoggedRequests("gameid=1011").size());
}

TEST_F(GameDetailTest, TheButtonFollowsTheGamesDownloadAndTheDetailBannerShowsWithAds)
{
    engines().Catalogue().StartHomePage(0);
    ASSERT_TRUE(
        GuiDriver::WaitFor([&] { return !engines().Catalogue().Featured()->ads_index_gamedetail.empty(); }));
    CGame game;
    game.gameid = "1001";
    CGameInfoFrameNew& detail = OpenDetail(game);
    EXPECT_TRUE(GuiDriver::Find(detail, QStringLiteral("Hl_Banner"))->IsVisible());
    EXPECT_EQ(2, detail.Banner()->PageCount());
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return detail.HasDetail(); }));

    // Installing from the window: the button goes through the download to "启动".
    ASSERT_TRUE(GuiDriver::Click(detail, QStringLiteral("Btn_InstallGame")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return detail.State() == 8; }, 30000));
    EXPECT_EQ(QStringLiteral("启动"), GuiDriver::Find(detail, QStringLiteral("Btn_InstallGame"))->GetText());
}

TEST_F(GameDetailTest, ASuggestionIsKeptByTheServerAndARefusalSaysWhy)
{
    CSuggestionFrame& window = OpenSuggestion();
    // Nothing written: refused before anything is sent.
    ASSERT_TRUE(GuiDriver::Click(window, QStringLiteral("Btn_Send")));
    EXPECT_FALSE(window.IsSending());
    EXPECT_EQ(QStringLiteral("请先写下您的建议"), window.StatusText());

    ASSERT_TRUE(
        GuiDriver::Type(window, QStringLiteral("Ed_Suggestion"), QStringLiteral("希望有更多 PSP 游戏")));
    EXPECT_EQ(QStringLiteral("12/500"), GuiDriver::Find(window, QStringLiteral("Lb_Count"))->GetText());
    ASSERT_TRUE(GuiDriver::Type(window, QStringLiteral("Ed_Contact"), QStringLiteral("player@example.org")));
    ASSERT_TRUE(GuiDriver::Click(window, QStringLiteral("Btn_Send")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !window.IsSending(); }));
    EXPECT_TRUE(window.WasSent());
    EXPECT_EQ(QStringLiteral("提交成功，感谢您的建议！"), window.StatusText());
    EXPECT_EQ(1, StoredSuggestions("希望有更多 PSP 游戏"));

    // The service refuses an over-long text with its reason, which the window shows.
    std::string failure;
    EXPECT_FALSE(SendSuggestion(std::string(501, 'a'), "", failure));
    EXPECT_EQ("建议内容过长", failure);
    EXPECT_EQ(0, StoredSuggestions(std::string(501, 'a')));

    // No service: the window says so and stays usable.
    WriteProfileString(SettingsFile(), "Service", "ApiUrl", "http://127.0.0.1:9/clientapi/");
    ASSERT_TRUE(GuiDriver::Type(window, QStringLiteral("Ed_Suggestion"), QStringLiteral("again")));
    ASSERT_TRUE(GuiDriver::Click(window, QStringLiteral("Btn_Send")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !window.IsSending(); }));
    EXPECT_FALSE(window.WasSent());
    EXPECT_TRUE(window.StatusText().startsWith(QStringLiteral("提交失败：")))
        << window.StatusText().toStdString();
    EXPECT_TRUE(GuiDriver::Find(window, QStringLiteral("Btn_Send"))->IsEnabled());
}
