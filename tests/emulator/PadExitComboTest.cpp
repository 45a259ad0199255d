// The pad's exit combo end to end: an SDL virtual pad on the input thread, the demo emulator running
// a game on the offscreen platform, and the launcher that started it.
#include "emulator/PadExitCombo.h"
#include "emulator/CEmulatorManager.h"
#include "emulator/CGameLauncher.h"
#include "emulator/EmulatorMessages.h"
#include "input/VirtualPads.h"
#include "platform/IniFile.h"
#include "platform/MessageQueue.h"
#include "store/LibraryDatabase.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace ravelo::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class NoQuestions : public LaunchHost
{
public:
    bool AskYesNo(const std::string&, const std::string&, WindowHandle) override { return false; }
    void ShowMessage(const std::string&, const std::string&, WindowHandle) override {}
    int ChooseInputKind(WindowHandle) override { return 0; }
    int ChooseDisc(int, WindowHandle) override { return -1; }
};

/// Waits (checking every few milliseconds) until cond holds; false after the time-out.
bool WaitUntil(const std::function<bool()>& cond, std::chrono::milliseconds timeout = 10s)
{
    const auto end = Clock::now() + timeout;
    while (!cond()) {
        if (Clock::now() > end)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class PadExitComboTest : public VirtualPadsTest
{
protected:
    void SetUp() override
    {
        VirtualPadsTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // The demo emulator shows its window on Qt's offscreen platform and runs until it is ended.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::unsetenv("RAVELO_DEMO_EMU_HEADLESS");
        WriteText(m_settings, "[Set]\nHandleType=1\nShowKeyMapTips=1\n");
        m_launcher.SetInputThread(m_input.get());
        m_combo = std::make_unique<PadExitCombo>(m_launcher, *m_input, m_settings);
        m_launcher.SetRunObserver(m_combo.get());
    }

    void TearDown() override
    {
        m_launcher.Shutdown();
        m_launcher.SetRunObserver(nullptr);
        m_combo.reset();
        VirtualPadsTest::TearDown();
    }

    /// The demo emulator as the GBA emulator, with its key and settings files for both input kinds.
    EmulatorInfo InstallDemoEmulator()
    {
        EmulatorInfo record;
        record.EmulatorId = "1200009";
        record.Name = u"演示模拟器";
        record.Emulatortype = 120;
        record.System = "GBA";
        record.Executet = {"ravelo-demo-emu"};
        record.Configtype = "0";
        record.KeyConfig = {{"keys.cfg", "keys.cfg", ""}};
        record.SetConfig = {{"settings.cfg", "settings.cfg"}};
        const std::string folder = m_registry.EmulatorFolder(record);
        for (const char* kind : {"/GamePadCfg/", "/KeyBoardCfg/"}) {
            fs::create_directories(folder + kind);
            WriteText(folder + kind + "keys.cfg", "InputKind gamepad\nKey.Start Start\nKey.Select Back\n");
            WriteText(folder + kind + "settings.cfg", "launches=0\n");
        }
        WriteText(
            folder + "/demo-emu.ini",
            "title=演示模拟器\nsystem=GBA\nkeyfile=keys.cfg\nkeyformat=text\nsettingsfile=settings.cfg\n");
        fs::copy_file(RAVELO_DEMO_EMU_EXE, folder + "/ravelo-demo-emu");
        EXPECT_TRUE(m_registry.AddInstalled(record));
        return record;
    }

    Gameinfo Game()
    {
        Gameinfo game;
        game.GameId = "2001";
        game.EmulatorId = "120";
        game.FilePath = m_program / "games/GBA/2001/";
        fs::create_directories(game.FilePath);
        WriteText(game.FilePath + "2001.gba", "ROM");
        return game;
    }

    TempFolder m_program;
    std::string m_settings = m_program / "ravelo.cfg";
    LibraryDatabase m_database{m_program / "database/ravelo.db"};
    CEmulatorManager m_registry{{.listUrl = "http://127.0.0.1:9/none",
                                 .instanceFolder = m_program.Path(),
                                 .dataFolder = m_program / "data",
                                 .database = &m_database,
                                 .settingsFile = m_settings,
                                 .documentsFolder = m_program / "Documents"}};
    CGameLauncher m_launcher{{&m_registry, nullptr, m_settings, m_program / "Documents", {}}};
    std::unique_ptr<PadExitCombo> m_combo;
    MessageQueue m_owner;
    NoQuestions m_host;
};

TEST_F(PadExitComboTest, HoldingStartAndBackEndsTheGameAndEverythingAfterANormalEndHappens)
{
    const EmulatorInfo emulator = InstallDemoEmulator();
    const int device = Attach("Couch Pad", 0x045E, 0x028E);
    ASSERT_GE(device, 0) << SDL_GetError();
    SDL_Joystick* pad = Open(device);
    ASSERT_TRUE(pad) << SDL_GetError();
    EXPECT_FALSE(m_combo->IsWatching()); // no game, no watching

    const Gameinfo game = Game();
    ASSERT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host),
              CGameLauncher::StartResult::Started);
    const std::string folder = m_registry.EmulatorFolder(emulator);
    ASSERT_TRUE(WaitUntil([&] {
        return m_combo->IsWatching() && !ReadText(folder + "/launches.log").empty();
    })) << "the demo emulator did not start";
    EXPECT_EQ(m_launcher.GetCurrentInputKind(), kInputKindGamepad);
    EXPECT_EQ(m_launcher.GetRunningGamePath(), game.FilePath + "2001.gba");

    // Held together, the game ends once the hold time has passed.
    SetVirtualButton(*m_input, pad, SDL_CONTROLLER_BUTTON_START, true);
    const auto pressed = Clock::now();
    SetVirtualButton(*m_input, pad, SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_EQ(m_launcher.WaitUntilIdle(), 128 + SIGTERM); // asked to end, as the program's stop does
    EXPECT_GE(Clock::now() - pressed, PadExitCombo::kHold);
    EXPECT_EQ(m_combo->Fired(), 1);
    EXPECT_FALSE(m_combo->IsWatching());
    EXPECT_TRUE(m_launcher.GetRunningGamePath().empty());

    // As after any end: the tips are told to go, and the emulator's files came back to the user's.
    std::optional<Message> start = m_owner.WaitFor(kGameLaunchState, 5s);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->wParam, 1u);
    std::optional<Message> end = m_owner.WaitFor(kGameLaunchState, 5s);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->wParam, 0u);
    EXPECT_EQ(ReadText(folder + "/UserGamePadCfg/settings.cfg"), "launches=0\n");
}

TEST_F(PadExitComboTest, SwitchedOffInTheSettingsNothingIsWatched)
{
    ASSERT_TRUE(WriteProfileString(m_settings, "Set", PadExitCombo::kSettingKey, "0"));
    // A stand-in that runs until it is told to end, so the check happens while the game runs.
    EmulatorInfo record;
    record.EmulatorId = "1210009";
    record.Name = u"Stand-in";
    record.Emulatortype = 121;
    record.System = "SFC";
    record.Executet = {"emu.sh"};
    const std::string folder = m_registry.EmulatorFolder(record);
    fs::create_directories(folder);
    WriteText(folder + "/emu.sh", "#!/bin/sh\ntouch running\nwhile [ ! -e go ]; do sleep 0.01; done\n");
    ::chmod((folder + "/emu.sh").c_str(), 0755);
    ASSERT_TRUE(m_registry.AddInstalled(record));
    Gameinfo game;
    game.GameId = "3001";
    game.EmulatorId = "121";
    game.FilePath = m_program / "games/SFC/3001/";
    fs::create_directories(game.FilePath);
    WriteText(game.FilePath + "3001.sfc", "ROM");

    ASSERT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host),
              CGameLauncher::StartResult::Started);
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(folder + "/running"); }));
    EXPECT_FALSE(m_combo->IsWatching());
    WriteText(folder + "/go", "");
    EXPECT_EQ(m_launcher.WaitUntilIdle(), 0);
    EXPECT_EQ(m_combo->Fired(), 0);
}

} // namespace
} // namespace ravelo::test
