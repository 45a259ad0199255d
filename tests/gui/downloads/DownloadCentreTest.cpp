// The download centre against a real download engine, the demo catalogue served by ravelo-server on
// loopback, and real clicks at the controls' positions.
#include "gui/downloads/CDownLoadFrameNew.h"
#include "gui/downloads/CDownloadItemUI.h"

#include "download/DownloadAddresses.h"
#include "download/DownloadManager.h"
#include "download/DownloadPrompts.h"
#include "gui/support/GuiDriver.h"
#include "gui/support/GuiFixture.h"
#include "service/CDownLoadUrl.h"
#include "service/CGame.h"
#include "service/CatalogueClient.h"
#include "service/PictureMessages.h"
#include "service/PictureQueue.h"
#include "uilib/COptionUI.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"

#include <filesystem>
#include <future>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using UiLib::CControlUI;
using UiLib::COptionUI;

/// The source question answered with the program's servers.
class ServerSource final : public DownloadPrompts
{
public:
    int ChooseSource(WindowHandle, const DownloadInfo&, int) override { return kSourceServers; }
    bool AskCaptcha(const std::string&, std::string&) override { return false; }
};

void WriteFile(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    WriteText(path, text);
}

class DownloadCentreTest : public GuiFixture
{
protected:
    /// An engine of the test's own over the program's database and catalogue client, the window as
    /// its target. maxRunning 0 keeps every started task waiting.
    void Open(int maxRunning = 4, std::function<void(const std::string&)> beforeUnpack = {})
    {
        DownloadOptions options;
        options.maxRunning = maxRunning;
        options.beforeUnpack = std::move(beforeUnpack);
        CatalogueClient* catalogue = &engines().Catalogue();
        options.fetchAddresses = [catalogue](CDownLoadUrl& answer, const std::string& id) {
            return catalogue->FetchDownloadAddresses(answer, id);
        };
        m_engine = std::make_unique<DownloadManager>(engines().Database(), std::move(options));
        m_engine->SetPrompts(&m_prompts);
        m_frame = std::make_unique<CDownLoadFrameNew>(*m_engine, engines().Pictures());
        ASSERT_NE(m_frame->CreateHidden(0), 0u);
        ASSERT_TRUE(m_engine->Start(0, m_frame->GetHWND()));
        m_frame->ShowAndActivate();
    }

    void TearDown() override
    {
        UiLib::SetMessageBoxHandler(nullptr);
        if (m_engine)
            m_engine->Shutdown();
        if (m_frame)
            m_frame->Destroy();
        GuiDriver::WaitFor([&] { return !m_frame || m_frame->GetHWND() == 0; });
        m_frame.reset();
        m_engine.reset();
        GuiFixture::TearDown();
    }

    CGame Game(const std::string& id, const char16_t* name) const
    {
        CGame game;
        game.gameid = id;
        game.gamename = name;
        game.emulatorshortname = u"FC";
        game.emulatorid = "125";
        game.icon = "/pic/icon/" + id + ".png";
        game.size = "1.00";
        return game;
    }

    CControlUI* Sub(const std::string& id, const QString& name)
    {
        CDownloadItemUI* row = m_frame->FindRow(id);
        return row ? m_frame->GetPaintManager().FindSubControlByName(row, name) : nullptr;
    }
    QString Text(const std::string& id, const QString& name)
    {
        CControlUI* control = Sub(id, name);
        return control ? control->GetText() : QString();
    }
    bool Selected(const std::string& id, const QString& name)
    {
        auto* option = UiLib::ControlAs<COptionUI>(Sub(id, name));
        return option && option->IsSelected();
    }
    /// Clicks a control of a row once the window has laid it out.
    bool ClickRow(const std::string& id, const QString& name)
    {
        CControlUI* control = Sub(id, name);
        return control && GuiDriver::WaitFor([&] { return !control->GetPos().isEmpty(); }) &&
               GuiDriver::ClickControl(*m_frame, control);
    }
    bool Enabled(const QString& name)
    {
        CControlUI* control = GuiDriver::Find(*m_frame, name);
        return control && control->IsEnabled();
    }

    ServerSource m_prompts;
    std::unique_ptr<DownloadManager> m_engine;
    std::unique_ptr<CDownLoadFrameNew> m_frame;
};

TEST_F(DownloadCentreTest, AFailedTaskSaysWhatWentWrongInTheFailuresOwnWords)
{
    // A file where the system's folder should be: the archive cannot be created.
    WriteFile(GamesRoot() + "FC", "not a folder");
    Open();
    ASSERT_EQ(m_engine->AddTask(Game("1001", u"星际突击队"), 0), AddTaskResult::Added);
    ASSERT_TRUE(GuiDriver::WaitFor([&] {
        return Text("1001", "Lb_Status") == QStringLiteral("下载失败,创建文件失败:请检查下载路径是否正确");
    })) << Text("1001", "Lb_Status").toStdString();
    EXPECT_EQ(Text("1001", "Lb_GameName"), QStringLiteral("星际突击队"));
    EXPECT_FALSE(Selected("1001", "Opt_StartOrPause")); // a failed task rests: its option offers a start
}

TEST_F(DownloadCentreTest, TheStartPauseOptionShowsTheEngineAndSendsWhatItsStateCallsFor)
{
    Open(0); // no transfer may start: every started task waits
    ASSERT_EQ(m_engine->AddTask(Game("1001", u"星际突击队"), 0), AddTaskResult::Added);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Text("1001", "Lb_Status") == QStringLiteral("等待下载"); }));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Selected("1001", "Opt_StartOrPause"); }));

    // A waiting task is active: the click stops it. The option does not flip by itself; the engine's
    // answer turns it.
    ASSERT_TRUE(ClickRow("1001", "Opt_StartOrPause"));
    EXPECT_TRUE(Selected("1001", "Opt_StartOrPause"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return m_engine->GetShownStatus("1001") == TaskStatus::Stopped; }));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !Selected("1001", "Opt_StartOrPause"); }));
    EXPECT_TRUE(Text("1001", "Lb_Status").startsWith(QStringLiteral("下载停止,完成")));

    // At rest, the same click starts it (and it waits again).
    ASSERT_TRUE(ClickRow("1001", "Opt_StartOrPause"));
    EXPECT_FALSE(Selected("1001", "Opt_StartOrPause"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return m_engine->GetShownStatus("1001") == TaskStatus::Waiting; }));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Selected("1001", "Opt_StartOrPause"); }));
}

TEST_F(DownloadCentreTest, ClosingHidesTheWindowWhileTheTasksRunOn)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> unpacking{false};
    Open(4, [&, released](const std::string&) {
        unpacking = true;
        released.wait_for(20s); // held here until the window is closed
    });
    ASSERT_EQ(m_engine->AddTask(Game("1001", u"星际突击队"), 0), AddTaskResult::Added);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return unpacking.load() && m_frame->FindRow("1001"); }));

    ASSERT_TRUE(GuiDriver::Click(*m_frame, QStringLiteral("Btn_Close")));
    EXPECT_FALSE(m_frame->IsWindowVisible());
    m_frame->Close(); // the window's own close hides it too
    EXPECT_NE(m_frame->GetHWND(), 0u);
    EXPECT_FALSE(m_frame->IsWindowVisible());
    EXPECT_NE(m_engine->GetShownStatus("1001"), TaskStatus::Stopped);

    // The hidden window follows the task to its end.
    release.set_value();
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return m_engine->GetShownStatus("1001") == TaskStatus::None; }));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return m_frame->RowIds().empty(); }));
    EXPECT_TRUE(fs::exists(GamesRoot() + "FC/1001"));
    m_frame->ShowAndActivate();
    EXPECT_TRUE(m_frame->IsWindowVisible());
    CControlUI* empty = GuiDriver::Find(*m_frame, QStringLiteral("Ctr_Empty"));
    EXPECT_TRUE(empty && empty->IsVisible());
}

TEST_F(DownloadCentreTest, DeletingAskedFirstAndRemovesOnlyTheTasksOwnFolder)
{
    Open(0);
    ASSERT_EQ(m_engine->AddTask(Game("1001", u"星际突击队"), 0), AddTaskResult::Added);
    ASSERT_EQ(m_engine->AddTask(Game("1002", u"忍者传说"), 0), AddTaskResult::Added);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return m_frame->RowIds().size() == 2; }));
    WriteFile(GamesRoot() + "FC/1001/1001.zip", "part of an archive");
    WriteFile(GamesRoot() + "FC/1002/1002.zip", "part of another");
    WriteFile(GamesRoot() + "FC/1003/game.nes", "an installed game");
    WriteFile(GamesRoot() + "FC/10010/game.nes", "a game whose id starts the same");

    std::vector<QString> asked;
    int answer = UiLib::IDYES;
    UiLib::SetMessageBoxHandler([&](const UiLib::MessageBoxRequest& request) {
        asked.push_back(request.text + QStringLiteral("|") + request.caption);
        return answer;
    });
    ASSERT_TRUE(ClickRow("1001", "Btn_Delete"));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QStringLiteral("是否删除该任务|提示"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !m_frame->FindRow("1001"); }));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !fs::exists(GamesRoot() + "FC/1001"); }));
    EXPECT_TRUE(fs::exists(GamesRoot() + "FC/1002/1002.zip"));
    EXPECT_TRUE(fs::exists(GamesRoot() + "FC/1003/game.nes"));
    EXPECT_TRUE(fs::exists(GamesRoot() + "FC/10010/game.nes"));

    // The selected rows: "no" keeps them, "yes" deletes them.
    EXPECT_FALSE(Enabled(QStringLiteral("Btn_MultiDelete")));
    ASSERT_TRUE(ClickRow("1002", "Opt_Selected"));
    ASSERT_TRUE(Enabled(QStringLiteral("Btn_MultiDelete")));
    answer = UiLib::IDNO;
    ASSERT_TRUE(GuiDriver::Click(*m_frame, QStringLiteral("Btn_MultiDelete")));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], QStringLiteral("是否删除选中的任务|提示"));
    EXPECT_EQ(m_engine->GetShownStatus("1002"), TaskStatus::Waiting);
    answer = UiLib::IDYES;
    ASSERT_TRUE(GuiDriver::Click(*m_frame, QStringLiteral("Btn_MultiDelete")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return m_frame->RowIds().empty(); }));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !fs::exists(GamesRoot() + "FC/1002"); }));
    EXPECT_TRUE(fs::exists(GamesRoot() + "FC/1003/game.nes"));
    EXPECT_TRUE(fs::exists(GamesRoot() + "FC/10010/game.nes"));
}

TEST_F(DownloadCentreTest, TheGroupButtonsActOnEverySelectedRow)
{
    Open(0);
    for (const char* id : {"1001", "1002", "1003"})
        ASSERT_EQ(m_engine->AddTask(Game(id, u"演示"), 0), AddTaskResult::Added);
    ASSERT_TRUE(GuiDriver::WaitFor([&] {
        return m_frame->RowIds().size() == 3 && Selected("1001", "Opt_StartOrPause") &&
               Selected("1002", "Opt_StartOrPause") && Selected("1003", "Opt_StartOrPause");
    }));
    EXPECT_FALSE(Enabled(QStringLiteral("Btn_MultiStart")));
    EXPECT_FALSE(Enabled(QStringLiteral("Btn_MultiPause")));

    ASSERT_TRUE(GuiDriver::Click(*m_frame, QStringLiteral("Opt_MultiSelected")));
    for (const char* id : {"1001", "1002", "1003"})
        EXPECT_TRUE(Selected(id, "Opt_Selected")) << id;
    EXPECT_FALSE(Enabled(QStringLiteral("Btn_MultiStart"))); // all of them wait: nothing to start
    EXPECT_TRUE(Enabled(QStringLiteral("Btn_MultiPause")));
    ASSERT_TRUE(GuiDriver::Click(*m_frame, QStringLiteral("Btn_MultiPause")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] {
        return !Selected("1001", "Opt_StartOrPause") && !Selected("1002", "Opt_StartOrPause") &&
               !Selected("1003", "Opt_StartOrPause");
    }));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Enabled(QStringLiteral("Btn_MultiStart")); }));
    EXPECT_FALSE(Enabled(QStringLiteral("Btn_MultiPause")));

    // Unticking one row unticks "select all"; the others stay selected.
    ASSERT_TRUE(ClickRow("1002", "Opt_Selected"));
    auto* all = UiLib::ControlAs<COptionUI>(GuiDriver::Find(*m_frame, QStringLiteral("Opt_MultiSelected")));
    ASSERT_TRUE(all);
    EXPECT_FALSE(all->IsSelected());
    EXPECT_TRUE(Selected("1001", "Opt_Selected"));
    EXPECT_FALSE(Selected("1002", "Opt_Selected"));
    ASSERT_TRUE(GuiDriver::Click(*m_frame, QStringLiteral("Btn_MultiStart")));
    ASSERT_TRUE(GuiDriver::WaitFor(
        [&] { return Selected("1001", "Opt_StartOrPause") && Selected("1003", "Opt_StartOrPause"); }));
    EXPECT_FALSE(Selected("1002", "Opt_StartOrPause"));
}

TEST_F(DownloadCentreTest, AnIconAddressThatWouldLeaveThePictureCacheShowsTheDefaultIcon)
{
    Open(0);
    for (const auto& [id, icon] : {std::pair<std::string, std::string>{"1001", "/pic/icon/1001.png"},
                                   {"1002", "/pic/../../../../etc/passwd"}}) {
        auto view = std::make_unique<DownloadTaskView>();
        view->gameId = id;
        view->gameName = u"演示";
        view->icon = icon;
        view->currentSize = "0.00";
        view->totalSize = "abc"; // not a number either
        PostMessage(m_frame->GetHWND(), UM_TASK_ADDED, 0, std::move(view));
    }
    const QString fallback = QString::fromUtf8(kDefaultGameIcon);
    ASSERT_TRUE(GuiDriver::WaitFor([&] {
        CControlUI* good = Sub("1001", "Ctr_GameIcon");
        return good && good->GetBkImage() != fallback;
    }));
    EXPECT_TRUE(
        Sub("1001", "Ctr_GameIcon")->GetBkImage().startsWith(QString::fromStdString(ImageCacheFolder)));
    // The unsafe address was answered with the default icon at once, and never fetched.
    ASSERT_TRUE(engines().Pictures().WaitUntilIdle(10s));
    EXPECT_EQ(Sub("1002", "Ctr_GameIcon")->GetBkImage(), fallback);
    EXPECT_TRUE(LoggedRequests("passwd").empty());
    EXPECT_EQ(Text("1002", "Lb_Status"), QStringLiteral("下载停止,完成0.00M"));
}

} // namespace
} // namespace ravelo::test
