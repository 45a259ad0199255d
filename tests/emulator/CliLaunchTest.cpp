// ravelo-cli install then launch as a user runs them, against ravelo-server on 127.0.0.1: the
// emulator is fetched on demand and the demo emulator runs headless.
#include "support/CliRun.h"
#include "support/DemoCatalogueServer.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;

class CliLaunch : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_demo = std::make_unique<DemoCatalogueServer>(RAVELO_SERVER_EXE);
        ASSERT_FALSE(s_demo->BaseUrl().empty()) << "ravelo-server did not serve its demo catalogue";
    }
    static void TearDownTestSuite() { s_demo.reset(); }
    void SetUp() override
    {
        WriteText(m_home / "ravelo.cfg", "[Set]\nRomPath=" + m_games.Path() +
                                             "\nHandleType=0\n[Service]\nBaseUrl=" + s_demo->BaseUrl() +
                                             "\n");
        ::setenv("RAVELO_HOME", m_home.Path().c_str(), 1);
        ::setenv("TMPDIR", m_tmp.Path().c_str(), 1);
        ::setenv("XDG_DOCUMENTS_DIR", (m_home / "Documents").c_str(), 1);
        ::setenv("RAVELO_DEMO_EMU_HEADLESS", "1", 1);
        ::unsetenv("RAVELO_DEMO_EMU_EXIT_CODE");
    }
    void TearDown() override
    {
        for (const char* name : {"RAVELO_HOME", "TMPDIR", "XDG_DOCUMENTS_DIR", "RAVELO_DEMO_EMU_HEADLESS",
                                 "RAVELO_DEMO_EMU_EXIT_CODE"})
            ::unsetenv(name);
    }

    static CliResult Run(std::vector<std::string> args) { return RunCli(RAVELO_CLI_EXE, std::move(args)); }

    // The one emulator folder of a system below the instance folder.
    std::string EmulatorFolder(const std::string& code)
    {
        const fs::path systemFolder = m_home / ("Emulator/" + code);
        if (!fs::is_directory(systemFolder))
            return {};
        for (const auto& entry : fs::directory_iterator(systemFolder))
            return entry.path().string();
        return {};
    }

    // The first game of a system in the demo catalogue's list.
    std::string FirstGameOf(const std::string& code)
    {
        const CliResult list = Run({"list"});
        for (std::size_t i = 0; i < list.lines.size(); ++i)
            if (list.Fields(i).size() == 4 && list.Fields(i)[2] == code)
                return list.Fields(i)[0];
        return {};
    }

    TempFolder m_home, m_tmp, m_games;
    static inline std::unique_ptr<DemoCatalogueServer> s_demo;
};

TEST_F(CliLaunch, InstallThenLaunchFetchesTheEmulatorSwapsFilesInAndSavesThemBack)
{
    const std::string game = FirstGameOf("FC");
    ASSERT_FALSE(game.empty());
    ASSERT_EQ(Run({"install", game}).code, 0);
    EXPECT_TRUE(EmulatorFolder("FC").empty()); // no emulator until a game needs one

    // No stored control method and no terminal to ask: the option is required.
    EXPECT_EQ(Run({"launch", game}).code, 1);

    const CliResult launch = Run({"launch", game, "--input", "gamepad"});
    ASSERT_EQ(launch.code, 0);
    ASSERT_FALSE(launch.lines.empty());
    EXPECT_EQ(launch.lines.back(), "退出码\t0");

    const std::string emulator = EmulatorFolder("FC");
    ASSERT_FALSE(emulator.empty());
    const CliResult emulators = Run({"emulators"});
    EXPECT_TRUE(std::any_of(emulators.lines.begin(), emulators.lines.end(), [](const std::string& line) {
        return line.find("\tFC\tinstalled") != std::string::npos;
    }));
    // The demo emulator was started with the game and wrote its log.
    const std::string log = ReadText(emulator + "/launches.log");
    EXPECT_NE(log.find(m_games.Path() + "FC/" + game + "/"), std::string::npos) << log;

    // Every file of the user's gamepad folder is what the emulator left (saved back), and the
    // emulator's own change differs from the package's defaults.
    const fs::path user = emulator + "/UserGamePadCfg";
    ASSERT_TRUE(fs::is_directory(user));
    bool changed = false;
    for (const auto& entry : fs::directory_iterator(user)) {
        if (!entry.is_regular_file())
            continue;
        const std::string name = entry.path().filename().string();
        const std::string defaults = ReadText(emulator + "/GamePadCfg/" + name);
        changed = changed || ReadText(entry.path().string()) != defaults;
    }
    EXPECT_TRUE(changed);

    // The game's exit code comes through.
    ::setenv("RAVELO_DEMO_EMU_EXIT_CODE", "7", 1);
    const CliResult failing = Run({"launch", game, "--input", "keyboard"});
    EXPECT_EQ(failing.code, 0);
    ASSERT_FALSE(failing.lines.empty());
    EXPECT_EQ(failing.lines.back(), "退出码\t7");
    EXPECT_TRUE(fs::is_directory(emulator + "/UserKeyBoardCfg"));
}

TEST_F(CliLaunch, ArcadeSetsInstallBesideTheirArchiveAndStartByNameFromRoms)
{
    const std::string game = FirstGameOf("ARCADE");
    ASSERT_FALSE(game.empty());
    ASSERT_EQ(Run({"install", game}).code, 0);
    const CliResult launch = Run({"launch", game, "--input", "keyboard"});
    ASSERT_EQ(launch.code, 0);
    ASSERT_FALSE(launch.lines.empty());
    EXPECT_EQ(launch.lines.back(), "退出码\t0");
    const std::string emulator = EmulatorFolder("ARCADE");
    // The set was copied into the emulator's roms/ and named on the command line without its path.
    EXPECT_TRUE(fs::exists(emulator + "/roms/" + game + ".zip"));
    EXPECT_NE(ReadText(emulator + "/launches.log").find("-rom\t" + game), std::string::npos)
        << ReadText(emulator + "/launches.log");
}

TEST_F(CliLaunch, ImportedGamesLaunchByPathAndUnknownGamesAreRefused)
{
    EXPECT_EQ(Run({"launch", "999999", "--input", "gamepad"}).code, 1);
    EXPECT_EQ(Run({"launch", "/no/such/game.nes", "--input", "gamepad"}).code, 1);
    EXPECT_EQ(Run({"launch", "1001", "--input", "joystick"}).code, 1);

    const std::string rom = m_tmp / "我的游戏/Super Game.nes";
    fs::create_directories(fs::path(rom).parent_path());
    WriteText(rom, std::string(1024, 'N'));
    ASSERT_EQ(Run({"import", rom, "--system", "FC"}).code, 0);
    const CliResult launch = Run({"launch", rom, "--input", "keyboard"});
    ASSERT_EQ(launch.code, 0);
    ASSERT_FALSE(launch.lines.empty());
    EXPECT_EQ(launch.lines.back(), "退出码\t0");
    EXPECT_NE(ReadText(EmulatorFolder("FC") + "/launches.log").find(rom), std::string::npos);
}

} // namespace
} // namespace ravelo::test
