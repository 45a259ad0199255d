// The game launcher with real processes: small shell programs stand in for emulators and native
// games, installed into a registry over a real library database file.
#include "emulator/CEmulatorManager.h"
#include "emulator/CGameLauncher.h"
#include "emulator/EmulatorMessages.h"
#include "platform/IniFile.h"
#include "platform/MessageQueue.h"
#include "store/LibraryDatabase.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace ravelo {
namespace {

using namespace std::chrono_literals;
using test::ReadText;
using test::TempFolder;
using test::WriteText;
namespace fs = std::filesystem;

class ScriptedHost : public LaunchHost
{
public:
    bool AskYesNo(const std::string&, const std::string&, WindowHandle) override { return true; }
    void ShowMessage(const std::string& text, const std::string& caption, WindowHandle) override
    {
        messages.push_back(caption + ":" + text);
    }
    int ChooseInputKind(WindowHandle) override
    {
        ++inputQuestions;
        return inputAnswer;
    }
    int ChooseDisc(int count, WindowHandle) override
    {
        discCounts.push_back(count);
        return discAnswer;
    }
    int inputAnswer = kInputKindKeyboard;
    int discAnswer = 0;
    int inputQuestions = 0;
    std::vector<int> discCounts;
    std::vector<std::string> messages;
};

class GameLauncherTest : public testing::Test
{
protected:
    GameLauncherTest() { WriteText(m_settings, "[Set]\nHandleType=0\nShowKeyMapTips=1\n"); }

    // An emulator whose programs are shell scripts; each logs its working folder and arguments.
    EmulatorInfo Install(const std::string& id, int system, const std::string& code,
                         std::map<std::string, std::string> programs, const std::string& parameters)
    {
        EmulatorInfo record;
        record.EmulatorId = id;
        record.Name = u"Stand-in";
        record.Emulatortype = system;
        record.System = code;
        record.Executeparam = parameters;
        record.Configtype = "0";
        record.KeyConfig = {{"keys.cfg", "keys.cfg", ""}};
        record.SetConfig = {{"settings.cfg", "settings.cfg"}};
        const std::string folder = m_registry.EmulatorFolder(record);
        for (const char* kind : {"/GamePadCfg/", "/KeyBoardCfg/"}) {
            fs::create_directories(folder + kind);
            WriteText(folder + kind + "keys.cfg", std::string("keys of ") + kind);
            WriteText(folder + kind + "settings.cfg", "volume 80\n");
        }
        for (const auto& [name, body] : programs) {
            record.Executet.push_back(name);
            WriteText(folder + "/" + name,
                      "#!/bin/sh\nprintf '%s|' \"" + name +
                          "\" \"$(pwd)\" \"$@\" >> launches.log\necho >> launches.log\n" + body);
            ::chmod((folder + "/" + name).c_str(), 0755);
        }
        EXPECT_TRUE(m_registry.AddInstalled(record));
        return record;
    }

    Gameinfo InstalledGame(const std::string& id, const std::string& system, const std::string& file)
    {
        Gameinfo game;
        game.GameId = id;
        game.EmulatorId = system;
        game.FilePath = m_program / ("games/" + system + "/" + id + "/");
        fs::create_directories(game.FilePath);
        if (!file.empty())
            WriteText(game.FilePath + file, "ROM");
        return game;
    }

    std::string Log(const EmulatorInfo& record)
    {
        return ReadText(m_registry.EmulatorFolder(record) + "/launches.log");
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
    MessageQueue m_owner;
    ScriptedHost m_host;
};

TEST_F(GameLauncherTest, RunsTheEmulatorWithItsFilesInPlaceAndSavesThemBack)
{
    const EmulatorInfo emulator = Install(
        "1250001", 125, "FC", {{"emu.sh", "echo 'volume 30' > settings.cfg\nexit 3\n"}}, "@ --fullscreen");
    const Gameinfo game = InstalledGame("1001", "125", "1001.nes");

    ASSERT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host),
              CGameLauncher::StartResult::Started);
    EXPECT_EQ(m_launcher.WaitUntilIdle(), 3);
    EXPECT_EQ(m_launcher.GetCurrentSystem(), "125");

    const std::string folder = m_registry.EmulatorFolder(emulator);
    EXPECT_EQ(Log(emulator), "emu.sh|" + folder + "|" + game.FilePath + "1001.nes|--fullscreen|\n");
    // Asked once (no stored choice): keyboard, remembered in the settings.
    EXPECT_EQ(m_host.inputQuestions, 1);
    EXPECT_EQ(ReadProfileString(m_settings, "Set", "HandleType", ""), "2");
    // The keyboard files were put in place, and the emulator's change came back to the user folder.
    EXPECT_EQ(ReadText(folder + "/keys.cfg"), "keys of /KeyBoardCfg/");
    EXPECT_EQ(ReadText(folder + "/UserKeyBoardCfg/settings.cfg"), "volume 30\n");
    // Key-map tips at the start, the end after the game.
    std::optional<Message> start = m_owner.WaitFor(kGameLaunchState, 5s);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->wParam, 1u);
    std::optional<Message> end = m_owner.WaitFor(kGameLaunchState, 5s);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->wParam, 0u);

    // The second launch does not ask again and uses the keyboard files the user now has.
    ASSERT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host),
              CGameLauncher::StartResult::Started);
    m_launcher.WaitUntilIdle();
    EXPECT_EQ(m_host.inputQuestions, 1);
}

TEST_F(GameLauncherTest, ASecondProgramRunsWithTheSameParametersWhenTheFirstEndsWithOne)
{
    const EmulatorInfo emulator =
        Install("1200001", 120, "GBA", {{"a-hd.sh", "exit 1\n"}, {"b-plain.sh", "exit 0\n"}}, "--game ");
    // Executet keeps the map's order: a-hd.sh first.
    const Gameinfo game = InstalledGame("2001", "120", "2001.gba");
    ASSERT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host, kInputKindKeyboard),
              CGameLauncher::StartResult::Started);
    EXPECT_EQ(m_launcher.WaitUntilIdle(), 0);
    const std::string folder = m_registry.EmulatorFolder(emulator);
    const std::string arguments = "|--game|" + game.FilePath + "2001.gba|\n";
    EXPECT_EQ(Log(emulator), "a-hd.sh|" + folder + arguments + "b-plain.sh|" + folder + arguments);
    EXPECT_EQ(m_host.inputQuestions, 0); // the given kind is used without asking
}

TEST_F(GameLauncherTest, ArcadeSetsAreCopiedIntoRomsAndStartedByName)
{
    const EmulatorInfo emulator = Install("1260001", 126, "ARCADE", {{"emu.sh", ""}}, "-rom ~");
    Gameinfo game = InstalledGame("3001", "126", "sf2.zip");
    game.FileName = "sf2.zip";
    const std::string roms = m_registry.EmulatorFolder(emulator) + "/roms/";
    fs::create_directories(roms);
    WriteText(roms + "kof.zip", "USER'S OWN");
    ASSERT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host, kInputKindGamepad),
              CGameLauncher::StartResult::Started);
    m_launcher.WaitUntilIdle();
    EXPECT_EQ(ReadText(roms + "sf2.zip"), "ROM");
    EXPECT_NE(Log(emulator).find("|-rom|sf2|"), std::string::npos) << Log(emulator);

    // A set already in roms/ is never overwritten.
    Gameinfo kof = InstalledGame("3002", "126", "kof.zip");
    kof.FileName = "kof.zip";
    ASSERT_EQ(m_launcher.LaunchInstalledGame(&kof, m_owner.Handle(), m_host, kInputKindGamepad),
              CGameLauncher::StartResult::Started);
    m_launcher.WaitUntilIdle();
    EXPECT_EQ(ReadText(roms + "kof.zip"), "USER'S OWN");
}

TEST_F(GameLauncherTest, DiscGamesOfferTheirDiscsAndMissingGamesSaySo)
{
    const EmulatorInfo emulator = Install("1190002", 119, "PS", {{"emu.sh", ""}}, "");
    Gameinfo game = InstalledGame("1234", "119", "1234_A.BIN");
    WriteText(game.FilePath + "1234_B.BIN", "B");
    m_host.discAnswer = 1;
    ASSERT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host, kInputKindGamepad),
              CGameLauncher::StartResult::Started);
    m_launcher.WaitUntilIdle();
    EXPECT_EQ(m_host.discCounts, std::vector<int>{2});
    EXPECT_NE(Log(emulator).find("|" + game.FilePath + "1234_B.BIN|"), std::string::npos) << Log(emulator);

    m_host.discAnswer = -1; // the dialog closed
    EXPECT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host, kInputKindGamepad),
              CGameLauncher::StartResult::Abandoned);

    const Gameinfo empty = InstalledGame("5678", "119", "");
    EXPECT_EQ(m_launcher.LaunchInstalledGame(&empty, m_owner.Handle(), m_host, kInputKindGamepad),
              CGameLauncher::StartResult::GameFileMissing);
    LocalGame gone;
    gone.EmulatorId = "119";
    gone.FilePath = m_program / "nowhere/game.iso";
    EXPECT_EQ(m_launcher.LaunchLocalGame(&gone, m_owner.Handle(), m_host, kInputKindGamepad),
              CGameLauncher::StartResult::GameFileMissing);
    EXPECT_EQ(m_host.messages, (std::vector<std::string>{"提示:游戏文件不存在", "提示:游戏文件不存在"}));
    EXPECT_FALSE(m_launcher.IsBusy());
}

TEST_F(GameLauncherTest, ClosingTheControlDialogOrHavingNoEmulatorStartsNothing)
{
    const Gameinfo game = InstalledGame("1001", "125", "1001.nes");
    // Nothing installed and the server offers nothing.
    EXPECT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host),
              CGameLauncher::StartResult::NoEmulator);
    Install("1250001", 125, "FC", {{"emu.sh", ""}}, "");
    m_host.inputAnswer = 0;
    EXPECT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host),
              CGameLauncher::StartResult::Abandoned);
    EXPECT_EQ(ReadProfileString(m_settings, "Set", "HandleType", ""), "0");
    EXPECT_EQ(m_launcher.LaunchInstalledGame(nullptr, m_owner.Handle(), m_host),
              CGameLauncher::StartResult::Abandoned);
    EXPECT_FALSE(m_launcher.IsBusy());
}

TEST_F(GameLauncherTest, OneGameAtATimeAndStoppingEndsTheGameWithWhatItStarted)
{
    const EmulatorInfo emulator =
        Install("1250001", 125, "FC", {{"emu.sh", "sleep 60 &\necho started > started.txt\nwait\n"}}, "");
    const Gameinfo game = InstalledGame("1001", "125", "1001.nes");
    ASSERT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host, kInputKindGamepad),
              CGameLauncher::StartResult::Started);
    EXPECT_TRUE(m_launcher.IsBusy());
    EXPECT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host, kInputKindGamepad),
              CGameLauncher::StartResult::Busy);
    const std::string started = m_registry.EmulatorFolder(emulator) + "/started.txt";
    for (int i = 0; i < 1000 && ReadText(started).empty(); ++i)
        std::this_thread::sleep_for(10ms);
    m_launcher.StopGame();
    EXPECT_EQ(m_launcher.WaitUntilIdle(), 128 + SIGTERM);
    // The end is announced and the files are saved as after any game.
    EXPECT_TRUE(fs::exists(m_registry.EmulatorFolder(emulator) + "/UserGamePadCfg/settings.cfg"));
}

TEST_F(GameLauncherTest, NativeProgramsStartInTheirFolderWithoutQuestionsOrEmulator)
{
    Gameinfo game = InstalledGame("9001", "138", "");
    fs::create_directories(game.FilePath + "bin");
    WriteText(game.FilePath + "bin/游戏 启动.sh", "#!/bin/sh\npwd > ran.txt\nexit 5\n");
    ::chmod((game.FilePath + "bin/游戏 启动.sh").c_str(), 0755);
    game.PlayUrl = "bin\\游戏 启动.sh";
    ASSERT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host),
              CGameLauncher::StartResult::Started);
    EXPECT_EQ(m_launcher.WaitUntilIdle(), 5);
    EXPECT_EQ(ReadText(game.FilePath + "bin/ran.txt"), game.FilePath + "bin\n");
    EXPECT_EQ(m_host.inputQuestions, 0);                   // HandleType "0" asks only for emulator games
    EXPECT_FALSE(m_owner.WaitFor(kGameLaunchState, 50ms)); // and nothing is announced

    // A run target that climbs out of the game's folder is not started.
    game.PlayUrl = "..\\..\\evil.sh";
    WriteText(m_program / "games/evil.sh", "#!/bin/sh\ntouch pwned\n");
    ::chmod((m_program / "games/evil.sh").c_str(), 0755);
    ASSERT_EQ(m_launcher.LaunchInstalledGame(&game, m_owner.Handle(), m_host),
              CGameLauncher::StartResult::Started);
    EXPECT_EQ(m_launcher.WaitUntilIdle(), 0);
    EXPECT_FALSE(fs::exists(m_program / "games/pwned"));

    // An imported native program: the path is the program itself.
    LocalGame local;
    local.EmulatorId = "138";
    local.FilePath = game.FilePath + "bin/游戏 启动.sh";
    ASSERT_EQ(m_launcher.LaunchLocalGame(&local, m_owner.Handle(), m_host),
              CGameLauncher::StartResult::Started);
    EXPECT_EQ(m_launcher.WaitUntilIdle(), 5);
}

TEST_F(GameLauncherTest, StandaloneRunUsesTheStoredKindWithoutAGameAndHoldsOffRefreshes)
{
    WriteText(m_settings, "[Set]\nHandleType=2\n");
    const EmulatorInfo emulator = Install(
        "1250001", 125, "FC",
        {{"emu.sh", "echo 'volume 5' > settings.cfg\nwhile [ ! -e go ]; do sleep 0.01; done\nexit 0\n"}},
        "@");
    ASSERT_TRUE(m_registry.RunStandalone(emulator));
    const std::string folder = m_registry.EmulatorFolder(emulator);
    EXPECT_FALSE(m_registry.RunStandalone(emulator)); // one at a time
    EXPECT_FALSE(m_registry.RefreshAsync(m_owner.Handle()));
    WriteText(folder + "/go", "");
    m_registry.WaitForStandalone();
    // No game and no parameters; the keyboard files went in and the change came back.
    EXPECT_EQ(Log(emulator), "emu.sh|" + folder + "|\n");
    EXPECT_EQ(ReadText(folder + "/keys.cfg"), "keys of /KeyBoardCfg/");
    EXPECT_EQ(ReadText(folder + "/UserKeyBoardCfg/settings.cfg"), "volume 5\n");
    EXPECT_TRUE(m_registry.RefreshAsync(m_owner.Handle())); // nothing to fetch there, but it may start
    m_registry.WaitForRefresh();

    EmulatorInfo outside = emulator;
    outside.Executet = {"../../evil.sh"};
    EXPECT_FALSE(m_registry.RunStandalone(outside));
}

TEST_F(GameLauncherTest, EndingAStandaloneRunStillSavesItsFilesBack)
{
    WriteText(m_settings, "[Set]\nHandleType=1\n");
    const EmulatorInfo emulator = Install(
        "1250001", 125, "FC", {{"emu.sh", "echo 'volume 7' > settings.cfg\ntouch up\nexec sleep 60\n"}}, "@");
    EXPECT_FALSE(m_registry.IsStandaloneRunning());
    m_registry.EndStandalone(); // nothing runs: nothing happens
    ASSERT_TRUE(m_registry.RunStandalone(emulator));
    EXPECT_TRUE(m_registry.IsStandaloneRunning());
    const std::string folder = m_registry.EmulatorFolder(emulator);
    for (int i = 0; i < 1000 && !fs::exists(folder + "/up"); ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(fs::exists(folder + "/up"));
    m_registry.EndStandalone();
    m_registry.WaitForStandalone();
    EXPECT_FALSE(m_registry.IsStandaloneRunning());
    EXPECT_EQ(ReadText(folder + "/UserGamePadCfg/settings.cfg"), "volume 7\n");

    // Asked to end before its emulator has even started: it is ended as soon as it starts.
    fs::remove(folder + "/up");
    const auto asked = std::chrono::steady_clock::now();
    ASSERT_TRUE(m_registry.RunStandalone(emulator));
    m_registry.EndStandalone();
    m_registry.WaitForStandalone();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 30s); // not the emulator's own 60 seconds
    EXPECT_FALSE(m_registry.IsStandaloneRunning());
}

TEST(GameLauncherWindowWatch, AnEmulatorWhoseWindowHasGoneIsEndedAndCountsAsACleanEnd)
{
    TempFolder program;
    LibraryDatabase database(program / "database/ravelo.db");
    CEmulatorManager registry({.listUrl = "http://127.0.0.1:9/none",
                               .instanceFolder = program.Path(),
                               .dataFolder = program / "data",
                               .database = &database});
    // The window shows up on the second look and is gone on the fourth; the process would run on.
    int looks = 0;
    std::string askedTitle;
    CGameLauncher launcher({&registry, nullptr, program / "ravelo.cfg", program / "Documents",
                            [&](const std::string& title) -> std::optional<bool> {
                                askedTitle = title;
                                ++looks;
                                return looks >= 2 && looks < 4;
                            }});
    EmulatorInfo record;
    record.EmulatorId = "1190001";
    record.Name = u"Watched";
    record.Emulatortype = 119;
    record.System = "PS";
    record.Executet = {"emu.sh"};
    const std::string folder = registry.EmulatorFolder(record);
    fs::create_directories(folder);
    WriteText(folder + "/emu.sh", "#!/bin/sh\nexec sleep 60\n");
    ::chmod((folder + "/emu.sh").c_str(), 0755);
    ASSERT_TRUE(registry.AddInstalled(record));
    Gameinfo game;
    game.GameId = "1";
    game.EmulatorId = "119";
    game.FilePath = program / "g/";
    fs::create_directories(game.FilePath);
    WriteText(game.FilePath + "1.ISO", "disc");
    ScriptedHost host;
    ASSERT_EQ(launcher.LaunchInstalledGame(&game, 0, host, kInputKindKeyboard),
              CGameLauncher::StartResult::Started);
    EXPECT_EQ(launcher.WaitUntilIdle(), 0);
    EXPECT_EQ(looks, 4);
    EXPECT_EQ(askedTitle, "ePSXe - 增强型 PSX 模拟器");
}

} // namespace
} // namespace ravelo
