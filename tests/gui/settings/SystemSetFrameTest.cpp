// The settings window as a person meets it: the settings shown and written back, the first start's
// games folder, a refused folder, the autostart entry, and the emulator page installing the demo
// catalogue's emulator through the setup popup against ravelo-server on loopback.
#include "gui/settings/CSystemSetFrame.h"

#include "emulator/CEmulatorManager.h"
#include "emulator/PadExitCombo.h"
#include "gui/downloads/CDownLoadPopFrame.h"
#include "gui/settings/EmulatorPage.h"
#include "gui/support/AnsweringHost.h"
#include "gui/support/GuiDriver.h"
#include "gui/support/GuiFixture.h"
#include "platform/AutoStart.h"
#include "platform/DesktopOpen.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/TextConvert.h"
#include "uilib/COptionUI.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"

#include <QCoreApplication>

#include <filesystem>
#include <future>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;
using UiLib::CControlUI;

/// Answers the registry's questions with yes and shows the emulator's setup in the real popup on the
/// UI thread, as the shell's prompts do.
class PopupHost final : public EmulatorHost
{
public:
    bool AskYesNo(const std::string&, const std::string&, WindowHandle) override { return true; }
    void ShowMessage(const std::string& text, const std::string&, WindowHandle) override
    {
        std::lock_guard guard(m_lock);
        m_shown.push_back(text);
    }
    std::vector<std::string> Shown() const
    {
        std::lock_guard guard(m_lock);
        return m_shown;
    }
    bool RunPackageSetup(const EmulatorInfo& record, const std::string&, WindowHandle parent,
                         SetupWorker& worker) override
    {
        auto done = std::make_shared<std::promise<bool>>();
        std::future<bool> result = done->get_future();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [&, done] {
                bool succeeded = false;
                RunSetupPopup(parent, worker, &record, &succeeded);
                done->set_value(succeeded);
            },
            Qt::QueuedConnection);
        return result.get();
    }

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_shown;
};

class SystemSetFrameTest : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        ::setenv("XDG_CONFIG_HOME", (m_home / "config").c_str(), 1);
        UiLib::SetMessageBoxHandler([this](const UiLib::MessageBoxRequest& box) {
            std::lock_guard guard(m_lock);
            m_boxes.push_back(box.text.toStdString());
            return m_answer;
        });
    }
    void TearDown() override
    {
        UiLib::SetMessageBoxHandler(nullptr);
        UiLib::SetFolderDialogHandler(nullptr);
        ::unsetenv("XDG_CONFIG_HOME");
        GuiFixture::TearDown();
    }

    /// Opens the window without its modal loop, so the test drives it; once the registry is loaded.
    std::unique_ptr<CSystemSetFrame> Open(bool firstRun = false, std::string program = {})
    {
        auto frame = std::make_unique<CSystemSetFrame>(
            CSystemSetFrame::Parts{engines(), m_host, {}, std::move(program)});
        frame->SetFirstRun(firstRun);
        if (!frame->Create(0, QStringLiteral("系统设置"), UiLib::UI_WNDSTYLE_DIALOG, UiLib::WS_EX_WINDOWEDGE))
            return nullptr;
        frame->CenterWindow();
        if (!GuiDriver::WaitFor([&] { return frame->Emulators() && frame->Emulators()->IsLoaded(); }, 30000))
            return nullptr;
        return frame;
    }
    static bool CloseWindow(CSystemSetFrame& frame)
    {
        return GuiDriver::Click(frame, QStringLiteral("Btn_Close")) &&
               GuiDriver::WaitFor([&] { return frame.GetHWND() == 0; });
    }
    static bool Selected(CSystemSetFrame& frame, const char* name)
    {
        auto* option = UiLib::ControlAs<UiLib::COptionUI>(GuiDriver::Find(frame, QLatin1String(name)));
        return option && option->IsSelected();
    }
    static QString Text(CSystemSetFrame& frame, const char* name)
    {
        CControlUI* control = GuiDriver::Find(frame, QLatin1String(name));
        return control ? control->GetText() : QString();
    }
    static int Tab(CSystemSetFrame& frame)
    {
        auto* tabs =
            UiLib::ControlAs<UiLib::CTabLayoutUI>(GuiDriver::Find(frame, QStringLiteral("Tab_SystemSet")));
        return tabs ? tabs->GetCurSel() : -1;
    }
    static bool ClickIn(CSystemSetFrame& frame, CControlUI* item, const char* name)
    {
        return item && GuiDriver::ClickControl(
                           frame, frame.GetPaintManager().FindSubControlByName(item, QLatin1String(name)));
    }
    static bool Shown(CSystemSetFrame& frame, CControlUI* item, const char* name)
    {
        CControlUI* control =
            item ? frame.GetPaintManager().FindSubControlByName(item, QLatin1String(name)) : nullptr;
        return control && control->IsVisible();
    }
    std::string Setting(const char* key) const
    {
        return ReadProfileString(SettingsFile(), "Set", key, "<none>");
    }
    bool WasShown(const std::string& text)
    {
        std::lock_guard guard(m_lock);
        for (const std::string& box : m_boxes)
            if (box.find(text) != std::string::npos)
                return true;
        return false;
    }
    /// Opens the menu of the page's 更多 and chooses an entry in it.
    static bool Choose(CSystemSetFrame& frame, const char* entry)
    {
        auto pick = GuiDriver::WhenShown(QStringLiteral("MenuWnd"), [entry](UiLib::WindowImplBase& menu) {
            GuiDriver::Click(menu, QLatin1String(entry));
        });
        return GuiDriver::ClickLater(frame, QStringLiteral("Btn_Option")) &&
               GuiDriver::WaitFor([&] { return !pick->isActive(); });
    }
    std::optional<EmulatorInfo> DemoFcEmulator()
    {
        return engines().LoadedEmulators().FindAvailableByType(125);
    }

    PopupHost m_host;
    std::mutex m_lock;
    std::vector<std::string> m_boxes;
    int m_answer = UiLib::IDYES;
};

TEST_F(SystemSetFrameTest, ShowsTheSettingsAndWritesBackOnlyWhatTheUserChanged)
{
    for (const auto& [key, value] :
         {std::pair{"HandleType", "0"}, {"UpdateType", "2"}, {"IsTray", "01"}, {"ShowKeyMapTips", "0"}})
        WriteProfileString(SettingsFile(), "Set", key, value);
    auto frame = Open();
    ASSERT_TRUE(frame);
    EXPECT_FALSE(Selected(*frame, "Opt_Xinput") || Selected(*frame, "Opt_Keyboard"));
    EXPECT_FALSE(Selected(*frame, "Opt_Tray") || Selected(*frame, "Opt_Exit"));
    EXPECT_TRUE(Selected(*frame, "Opt_AutoUpdate"));
    EXPECT_FALSE(Selected(*frame, "Opt_ManualUpdate"));
    EXPECT_TRUE(Selected(*frame, "Opt_HideKeyMap"));
    EXPECT_TRUE(Selected(*frame, "Opt_PadExitCombo"));
    EXPECT_FALSE(Selected(*frame, "Opt_AutoRun"));
    EXPECT_EQ(Text(*frame, "Tx_Version"), QStringLiteral("v") + QString::fromUtf8(AppVersion));
    EXPECT_EQ(Tab(*frame), 0);

    // Another process shows the tips meanwhile; the window did not touch them.
    WriteProfileString(SettingsFile(), "Set", "ShowKeyMapTips", "1");
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_Tray")));
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_PadExitCombo")));
    // A tab switch writes what changed at once.
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_EmuSet")));
    EXPECT_EQ(Tab(*frame), 1);
    EXPECT_EQ(Setting("IsTray"), "1");
    EXPECT_EQ(ReadProfileString(SettingsFile(), "Set", PadExitCombo::kSettingKey, ""), "0");
    ASSERT_TRUE(CloseWindow(*frame));

    EXPECT_EQ(Setting("HandleType"), "0"); // neither option: unchanged
    EXPECT_EQ(Setting("UpdateType"), "2"); // automatic already
    EXPECT_EQ(Setting("ShowKeyMapTips"), "1");
    EXPECT_EQ(Setting("AutoRun"), "<none>"); // never written: it did not change
    EXPECT_FALSE(PathExists(AutoStartEntryPath()));
}

TEST_F(SystemSetFrameTest, AnUnwritableFolderIsRefusedAndTheOldOneStays)
{
    auto frame = Open();
    ASSERT_TRUE(frame);
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_DownloadUpdate")));
    EXPECT_EQ(Text(*frame, "Ed_DownloadPath").toStdString(), GamesRoot());

    std::string offered = m_home / "file-in-the-way/games";
    WriteText(m_home / "file-in-the-way", "x");
    UiLib::SetFolderDialogHandler([&](WindowHandle, const QString& title) {
        EXPECT_EQ(title, QStringLiteral("游戏下载目录"));
        return QString::fromStdString(offered);
    });
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Btn_PickDir")));
    EXPECT_TRUE(WasShown("无法使用该文件夹作为游戏目录"));
    EXPECT_EQ(Text(*frame, "Ed_DownloadPath").toStdString(), GamesRoot());

    if (::geteuid() != 0) { // root writes into any folder
        fs::create_directories(m_home / "locked");
        ::chmod((m_home / "locked").c_str(), 0500);
        offered = m_home / "locked";
        m_boxes.clear();
        ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Btn_PickDir")));
        EXPECT_TRUE(WasShown("无法使用该文件夹作为游戏目录"));
        ::chmod((m_home / "locked").c_str(), 0700);
    }

    // A good folder is taken with a trailing separator and applied when the window closes.
    offered = m_home / "更多 游戏";
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Btn_PickDir")));
    EXPECT_EQ(Text(*frame, "Ed_DownloadPath").toStdString(), offered + "/");
    EXPECT_EQ(GamesFolder(), GamesRoot());
    ASSERT_TRUE(CloseWindow(*frame));
    EXPECT_EQ(Setting("RomPath"), offered + "/");
    EXPECT_EQ(GamesFolder(), offered + "/");
    EXPECT_TRUE(FolderExists(LocalGameFolder() + "FC/"));
}

TEST_F(SystemSetFrameTest, TheAutostartEntryFollowsTheOption)
{
    const std::string program = m_home / "Ravelo 游戏/it's \"odd\"/$HOME/ravelo";
    auto frame = Open(false, program);
    ASSERT_TRUE(frame);
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_AutoRun")));
    ASSERT_TRUE(CloseWindow(*frame));
    EXPECT_EQ(Setting("AutoRun"), "1");
    ASSERT_TRUE(FileExists(AutoStartEntryPath()));
    EXPECT_EQ(AutoStartEntryPath(), m_home / "config/autostart/io.github.ravelo.Ravelo.desktop");
    EXPECT_EQ(ReadText(AutoStartEntryPath()), AutoStartEntryText(program));
    if (!FindOnPath("desktop-file-validate").empty()) {
        const std::string command = "desktop-file-validate '" + AutoStartEntryPath() + "' >&2";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    frame = Open(false, program);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(Selected(*frame, "Opt_AutoRun"));
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_AutoRun")));
    ASSERT_TRUE(CloseWindow(*frame));
    EXPECT_EQ(Setting("AutoRun"), "0");
    EXPECT_FALSE(PathExists(AutoStartEntryPath()));
}

TEST_F(SystemSetFrameTest, ComponentsOfTheOtherPlatformAreNotOffered)
{
    auto frame = Open();
    ASSERT_TRUE(frame);
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_Plugin")));
    for (const char* status :
         {"Tx_IsInstallVc2005", "Tx_IsInstallVc2012", "Tx_IsInstalledDx", "Tx_IsInstalledXinput"})
        EXPECT_EQ(Text(*frame, status), QStringLiteral("不适用")) << status;
    for (const char* button : {"Btn_InstallVc2005", "Btn_InstallDx", "Btn_InstallXinput"})
        EXPECT_FALSE(GuiDriver::Click(*frame, QLatin1String(button))) << button;
    ASSERT_TRUE(CloseWindow(*frame));
}

TEST_F(SystemSetFrameTest, TheFcPageInstallsTheDemoEmulatorAndRefusesResetsWhileItRuns)
{
    const std::optional<EmulatorInfo> demo = DemoFcEmulator();
    ASSERT_TRUE(demo) << "the demo catalogue offers no FC emulator";
    auto frame = Open();
    ASSERT_TRUE(frame);
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_EmuSet")));
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("TreeNode_Fc")));
    // The page is filled again whenever the server's list comes back: the item is looked up each time.
    const auto item = [&] { return frame->Emulators()->Item(demo->EmulatorId); };
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return item() != nullptr; }));
    EXPECT_EQ(Text(*frame, "Lb_EmuSystem"), QStringLiteral("FC"));
    EXPECT_EQ(
        frame->GetPaintManager().FindSubControlByName(item(), QStringLiteral("Lb_EmulatorName"))->GetText(),
        QString::fromStdU16String(demo->Name));
    EXPECT_TRUE(Shown(*frame, item(), "Btn_DownloadEmu"));
    EXPECT_FALSE(Shown(*frame, item(), "Btn_EmuSet"));
    EXPECT_FALSE(Shown(*frame, item(), "Btn_Option"));

    // Install: the real popup fetches the package from the server; its 确定 is pressed when done.
    auto confirm = GuiDriver::ConfirmSetups();
    ASSERT_TRUE(ClickIn(*frame, item(), "Btn_DownloadEmu"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Shown(*frame, item(), "Btn_EmuSet"); }, 60000));
    confirm.reset();
    EXPECT_TRUE(engines().Emulators().FindInstalled(demo->EmulatorId));
    EXPECT_TRUE(Shown(*frame, item(), "Btn_Option"));
    EXPECT_FALSE(Shown(*frame, item(), "Btn_DownloadEmu"));
    EXPECT_FALSE(LoggedRequests(demo->Downloadurl.substr(demo->Downloadurl.rfind('/'))).empty());

    // The update check runs off the UI thread and says when nothing newer is offered.
    ASSERT_TRUE(Choose(*frame, "Menu_UpdateEmu"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !frame->Emulators()->IsBusy() && !m_host.Shown().empty(); }));
    EXPECT_EQ(m_host.Shown().back(), Utf16ToUtf8(demo->Name) + "已是最新版本");

    // Set up stand-alone: not before a control method is chosen.
    ASSERT_TRUE(ClickIn(*frame, item(), "Btn_EmuSet"));
    EXPECT_TRUE(WasShown("请先在“常规设置”中选择控制方式"));
    EXPECT_FALSE(engines().Emulators().IsStandaloneRunning());
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_CommonSet")));
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_Xinput")));
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_EmuSet")));
    ASSERT_TRUE(ClickIn(*frame, item(), "Btn_EmuSet"));
    ASSERT_TRUE(engines().Emulators().IsStandaloneRunning());
    EXPECT_EQ(Setting("HandleType"), "1"); // the run reads the method just chosen

    // Its files are in use: a reset is refused and asks nothing.
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_CommonSet")));
    m_boxes.clear();
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Btn_ResetXinput")));
    EXPECT_TRUE(WasShown("游戏或模拟器正在运行,请关闭后再试"));
    EXPECT_FALSE(WasShown("是否恢复默认"));

    // Closing asks before ending it; "no" keeps the window open.
    m_answer = UiLib::IDNO;
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Btn_Close")));
    EXPECT_TRUE(WasShown("关闭设置窗口会结束它"));
    EXPECT_NE(frame->GetHWND(), 0u);
    EXPECT_TRUE(engines().Emulators().IsStandaloneRunning());
    m_answer = UiLib::IDYES;
    ASSERT_TRUE(CloseWindow(*frame));
    engines().Emulators().WaitForStandalone();
    EXPECT_FALSE(engines().Emulators().IsStandaloneRunning());
}

TEST_F(SystemSetFrameTest, ResetsAskAndClearKeyFilesAlsoWithNoMethodChosenAndTheMenuRemovesAnEmulator)
{
    const std::optional<EmulatorInfo> demo = DemoFcEmulator();
    ASSERT_TRUE(demo);
    AnsweringHost quiet;
    ASSERT_TRUE(engines().Emulators().Install(*demo, 0, quiet));
    const std::string folder = engines().Emulators().EmulatorFolder(*demo);
    fs::create_directories(folder + "/UserGamePadCfg");
    fs::create_directories(folder + "/UserKeyBoardCfg");
    WriteText(folder + "/UserGamePadCfg/keys.cfg", "mine");
    WriteText(folder + "/UserKeyBoardCfg/keys.cfg", "mine too");
    ASSERT_EQ(Setting("HandleType"), "<none>"); // "0" by default

    auto frame = Open();
    ASSERT_TRUE(frame);
    m_answer = UiLib::IDNO;
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Btn_ResetXinput")));
    EXPECT_TRUE(WasShown("是否恢复默认"));
    EXPECT_TRUE(FileExists(folder + "/UserGamePadCfg/keys.cfg"));

    m_answer = UiLib::IDYES;
    m_boxes.clear();
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Btn_ResetXinput")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return WasShown("已恢复默认设置"); }));
    EXPECT_FALSE(PathExists(folder + "/UserGamePadCfg"));
    EXPECT_TRUE(FileExists(folder + "/UserKeyBoardCfg/keys.cfg"));

    // The item's menu: restoring the defaults with no method chosen clears both kinds of its files.
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("Opt_EmuSet")));
    ASSERT_TRUE(GuiDriver::Click(*frame, QStringLiteral("TreeNode_Fc")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return frame->Emulators()->Item(demo->EmulatorId) != nullptr; }));
    m_boxes.clear();
    ASSERT_TRUE(Choose(*frame, "Menu_SetDefault"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return WasShown("已恢复默认设置"); }));
    EXPECT_TRUE(WasShown("是否恢复默认设置"));
    EXPECT_FALSE(PathExists(folder + "/UserKeyBoardCfg"));

    // Removing it asks (the host says yes), forgets it and deletes its folder; the item offers 下载.
    ASSERT_TRUE(Choose(*frame, "Menu_DelEmu"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !engines().Emulators().FindInstalled(demo->EmulatorId); }));
    EXPECT_FALSE(PathExists(folder));
    ASSERT_TRUE(GuiDriver::WaitFor(
        [&] { return Shown(*frame, frame->Emulators()->Item(demo->EmulatorId), "Btn_DownloadEmu"); }));
    ASSERT_TRUE(CloseWindow(*frame));
    EXPECT_EQ(Setting("HandleType"), "<none>");
}

class SystemSetFirstStartTest : public SystemSetFrameTest
{
protected:
    bool WithGamesFolder() const override { return false; }
    void SetUp() override
    {
        const char* home = std::getenv("HOME");
        m_realHome = home ? home : "";
        ::setenv("HOME", (m_home / "user").c_str(), 1);
        SystemSetFrameTest::SetUp();
    }
    void TearDown() override
    {
        SystemSetFrameTest::TearDown();
        ::setenv("HOME", m_realHome.c_str(), 1);
    }
    std::string m_realHome;
};

TEST_F(SystemSetFirstStartTest, OpensOnTheDownloadPageAndProposesGamesInTheHomeFolder)
{
    auto frame = Open(true);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(Selected(*frame, "Opt_DownloadUpdate"));
    EXPECT_EQ(Tab(*frame), 3);
    EXPECT_TRUE(GuiDriver::Find(*frame, QStringLiteral("Hl_FirstRun"))->IsVisible());
    const std::string proposed = m_home / "user/Games/";
    EXPECT_EQ(Text(*frame, "Ed_DownloadPath").toStdString(), proposed);
    EXPECT_TRUE(FolderExists(proposed));
    EXPECT_EQ(GamesFolder(), "");
    ASSERT_TRUE(CloseWindow(*frame));
    EXPECT_EQ(Setting("RomPath"), proposed);
    EXPECT_EQ(GamesFolder(), proposed);
    EXPECT_TRUE(FolderExists(proposed + "LocalGame/FC/"));
}

} // namespace
} // namespace ravelo::test
