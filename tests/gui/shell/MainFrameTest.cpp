// The main window against ravelo-server: its count buttons, close rules, search and left bar.
#include "app/Engines.h"
#include "download/DownloadManager.h"
#include "download/DownloadMessages.h"
#include "gui/catalogue/CFeaturedFrame.h"
#include "gui/catalogue/CGameItemUI.h"
#include "gui/catalogue/CGameListPage.h"
#include "gui/catalogue/CSpecialFrame.h"
#include "gui/catalogue/CWeekHotSpecialUI.h"
#include "gui/catalogue/CatalogueActions.h"
#include "gui/common/GuiMessages.h"
#include "gui/play/GameStarter.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/GuiPrompts.h"
#include "gui/shell/MainFrameView.h"
#include "gui/shell/PromptBroker.h"
#include "gui/support/GuiDriver.h"
#include "gui/support/GuiFixture.h"
#include "input/InputMessages.h"
#include "platform/IniFile.h"
#include "service/CGame.h"
#include "uilib/CMenuWnd.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"

#include <QCoreApplication>
#include <QWidget>

using namespace ravelo;
using namespace ravelo::test;

namespace {

class MainFrameTest : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        m_broker = std::make_unique<PromptBroker>(QCoreApplication::instance());
        m_prompts = std::make_unique<GuiPrompts>(*m_broker);
        m_starter = std::make_unique<GameStarter>(engines().Launcher(), *m_prompts);
        m_actions = std::make_unique<CatalogueActions>(engines(), *m_prompts, *m_starter);
        m_frame = std::make_unique<CMainFrame>(
            CMainFrame::Parts{engines(), *m_prompts, *m_starter, *m_actions, *m_broker});
        ASSERT_TRUE(m_frame->Create(0, QStringLiteral("Ravelo"), UiLib::UI_WNDSTYLE_FRAME, 0));
        m_frame->ShowAndActivate();
        // The program opens on the home page.
        ASSERT_TRUE(GuiDriver::WaitFor([&] { return Home() && Home()->IsFilled(); }));
    }
    void TearDown() override
    {
        UiLib::SetMessageBoxHandler(nullptr);
        m_broker->Shutdown();
        if (m_frame->GetHWND())
            m_frame->Close(0);
        m_frame.reset();
        m_actions->Shutdown();
        m_starter->Shutdown();
        GuiFixture::TearDown();
    }

    CGameListPage* Category() { return m_frame->CategoryPage(); }
    CFeaturedFrame* Home()
    {
        return dynamic_cast<CFeaturedFrame*>(m_frame->Page(QStringLiteral("FeaturedFrame")));
    }
    CSpecialFrame* Special()
    {
        return dynamic_cast<CSpecialFrame*>(m_frame->Page(QStringLiteral("SpecialFrame")));
    }
    /// The left bar's entry of the categories, as a person opens it.
    void OpenCategories()
    {
        UiLib::CControlUI* header = nullptr;
        m_frame->GetPaintManager().GetRoot()->FindControlIf([&](UiLib::CControlUI* c) {
            if (!header && c->GetText() == QStringLiteral("游戏分类") && c->IsVisible())
                header = c;
            return false;
        });
        ASSERT_TRUE(header);
        ASSERT_TRUE(GuiDriver::ClickControl(*m_frame, header));
        ASSERT_TRUE(GuiDriver::WaitFor([&] {
            return Tab() == 1 && Category() && !Category()->IsLoading() && !Category()->Tiles().empty();
        }));
    }
    QString Text(const char* name) { return GuiDriver::Find(*m_frame, QString::fromLatin1(name))->GetText(); }
    int Tab()
    {
        return static_cast<UiLib::CTabLayoutUI*>(GuiDriver::Find(*m_frame, QStringLiteral("Tab_HomePage")))
            ->GetCurSel();
    }

    std::unique_ptr<PromptBroker> m_broker;
    std::unique_ptr<GuiPrompts> m_prompts;
    std::unique_ptr<GameStarter> m_starter;
    std::unique_ptr<CatalogueActions> m_actions;
    std::unique_ptr<CMainFrame> m_frame;
};

} // namespace

TEST(MainFrameView, CountsFollowTheLabelAfterThreeSpaces)
{
    EXPECT_EQ(CountButtonText("下载中心", 2), "下载中心   2");
    EXPECT_EQ(CountButtonText("下载中心", 0), "下载中心");
    EXPECT_EQ(CountButtonText("手柄连接", -1), "手柄连接");
    EXPECT_FALSE(IsSearchText(""));
    EXPECT_FALSE(IsSearchText("  \t"));
    EXPECT_TRUE(IsSearchText(" 三国"));
}

TEST_F(MainFrameTest, TheCountButtonsShowWhatTheEnginesPost)
{
    EXPECT_EQ(Text("Btn_DownLoad"), QStringLiteral("下载中心")); // the engine's count at start: none
    ravelo::PostMessage(m_frame->GetHWND(), UM_DOWNLOAD_COUNT, 2);
    ravelo::PostMessage(m_frame->GetHWND(), UM_GAMEPAD_COUNT, 3);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Text("Btn_GamePad") == QStringLiteral("手柄连接   3"); }));
    EXPECT_EQ(Text("Btn_DownLoad"), QStringLiteral("下载中心   2"));
    ravelo::PostMessage(m_frame->GetHWND(), UM_DOWNLOAD_COUNT, 0);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Text("Btn_DownLoad") == QStringLiteral("下载中心"); }));
}

TEST_F(MainFrameTest, CloseHidesToTheTrayAltF4AlwaysHidesAndTheTrayMenuExits)
{
    // IsTray is "1" by default: the close button hides the window, which lives on.
    ASSERT_TRUE(GuiDriver::Click(*m_frame, QStringLiteral("Btn_Close")));
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return !m_frame->IsWindowVisible() || m_frame->IsMinimized(); }));
    EXPECT_NE(m_frame->GetHWND(), 0u);
    m_frame->ShowAndActivate();

    // Alt+F4 (the system close) hides even when the close button would exit.
    WriteProfileString(SettingsFile(), "Set", "IsTray", "0");
    ravelo::PostMessage(m_frame->GetHWND(), UiLib::WM_SYSCOMMAND, UiLib::SC_CLOSE);
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return !m_frame->IsWindowVisible() || m_frame->IsMinimized(); }));
    EXPECT_NE(m_frame->GetHWND(), 0u);
    m_frame->ShowAndActivate();

    // The tray menu's exit closes for real (nothing downloads, so nothing is asked).
    int asked = 0;
    UiLib::SetMessageBoxHandler([&](const UiLib::MessageBoxRequest&) {
        ++asked;
        return UiLib::IDYES;
    });
    // The desktop shows the menu itself (the real one is clicked in the end-to-end test); its
    // second item is "退出".
    ravelo::PostMessage(m_frame->GetHWND(), UiLib::UIMSG_TRAYMENU, 2);
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return m_frame->GetHWND() == 0; }));
    EXPECT_EQ(asked, 0);
}

TEST_F(MainFrameTest, AnEmptySearchDoesNothingAndAKeywordOpensTheSearchPage)
{
    EXPECT_EQ(Tab(), 0);
    const std::size_t before = LoggedRequests("keyword=").size();
    ASSERT_TRUE(GuiDriver::Type(*m_frame, QStringLiteral("Ed_SearchKeyWord"), QStringLiteral("   ")));
    ASSERT_TRUE(GuiDriver::Key(*m_frame, QStringLiteral("Ed_SearchKeyWord"), Qt::Key_Return));
    GuiDriver::WaitFor([] { return false; }, 200);
    EXPECT_EQ(Tab(), 0);
    EXPECT_EQ(LoggedRequests("keyword=").size(), before);

    ASSERT_TRUE(GuiDriver::Type(*m_frame, QStringLiteral("Ed_SearchKeyWord"), QStringLiteral("三国")));
    ASSERT_TRUE(GuiDriver::Key(*m_frame, QStringLiteral("Ed_SearchKeyWord"), Qt::Key_Return));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return m_frame->SearchPage()->Query().keyword == "三国"; }));
    EXPECT_EQ(Tab(), 2);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !m_frame->SearchPage()->IsLoading(); }));
    EXPECT_FALSE(m_frame->SearchPage()->Tiles().empty());
}

TEST_F(MainFrameTest, ASystemOfTheLeftBarFiltersTheCategoryPage)
{
    OpenCategories();
    // The first grid's third option is FC, system index 2.
    UiLib::CControlUI* fc = nullptr;
    m_frame->GetPaintManager().GetRoot()->FindControlIf([&](UiLib::CControlUI* c) {
        if (!fc && c->GetText() == QStringLiteral("FC") && c->IsVisible())
            fc = c;
        return false;
    });
    ASSERT_TRUE(fc);
    ASSERT_TRUE(GuiDriver::ClickControl(*m_frame, fc));
    ASSERT_TRUE(
        GuiDriver::WaitFor([&] { return Category()->Query().emulator == 2 && !Category()->IsLoading(); }));
    EXPECT_FALSE(LoggedRequests("emulatorid=002").empty());
    for (auto* tile : Category()->Tiles())
        EXPECT_EQ(tile->GetGame().emulatorid, "125");
}

TEST_F(MainFrameTest, ATopicOfTheHomePageOpensItsPageAndBackReturnsHome)
{
    ASSERT_TRUE(GuiDriver::ClickControl(*Home(), Home()->Topics()->CardAt(1)));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Tab() == 4 && Special() && Special()->IsLoaded(); }));
    EXPECT_EQ(Special()->Topic(), 2);
    EXPECT_FALSE(Special()->Tiles().empty());
    EXPECT_FALSE(LoggedRequests("id=002").empty());
    ASSERT_TRUE(GuiDriver::Click(*Special(), QStringLiteral("Btn_Back")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Tab() == 0; }));
}

class MainFrameDownloadingTest : public MainFrameTest
{
protected:
    static void SetUpTestSuite() { StartSlowServer(4096); }
};

TEST_F(MainFrameDownloadingTest, TheTrayExitAsksWhileDownloadsRun)
{
    // A game is downloading (slowly); its system's emulator is set up first, its source is chosen in
    // the dialog.
    auto setups = GuiDriver::ConfirmSetups();
    auto source =
        GuiDriver::WhenShown(QStringLiteral("DownLoadTypeFrame"), [](UiLib::WindowImplBase& window) {
            GuiDriver::Click(window, QStringLiteral("Btn_Ravelo"));
        });
    OpenCategories();
    CGame game = Category()->Tiles().front()->GetGame();
    m_actions->Act(TileAction::Install, game, m_frame->GetHWND());
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return engines().Downloads().CountRunning() > 0; }, 20000));

    std::vector<QString> asked;
    int answer = UiLib::IDNO;
    UiLib::SetMessageBoxHandler([&](const UiLib::MessageBoxRequest& request) {
        asked.push_back(request.text);
        return answer;
    });
    m_frame->RequestClose(true);
    EXPECT_EQ(asked, std::vector<QString>{QStringLiteral("有下载任务进行中是否退出")});
    EXPECT_NE(m_frame->GetHWND(), 0u); // "no" leaves everything as it was
    answer = UiLib::IDYES;
    m_frame->RequestClose(true);
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return m_frame->GetHWND() == 0; }));
}
