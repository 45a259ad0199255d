// The installed programs as a user meets them: the installed ravelo-server builds and serves the demo
// catalogue, and the installed ravelo-cli, with HOME and the XDG folders in a temporary folder, finds
// its shipped files, installs and plays a game, and writes nowhere but the XDG folders and the games
// folder.
#include "install/InstalledTree.h"
#include "support/CliRun.h"
#include "support/DemoCatalogueServer.h"
#include "support/FileText.h"
#include "support/ZipBuilder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;

/// Every path below `folder`, relative to it.
std::set<std::string> ListBelow(const std::string& folder)
{
    std::set<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        paths.insert(entry.path().string().substr(folder.size()));
    return paths;
}

class InstalledProgramTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InstalledTree::Get().Ok()) << "cmake --install failed";
        for (const char* name :
             {"RAVELO_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "RAVELO_DEMO_EMU_EXIT_CODE"})
            ::unsetenv(name);
        ::setenv("HOME", m_home.Path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_home / ".config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_home / ".local/share").c_str(), 1);
        ::setenv("XDG_DOCUMENTS_DIR", (m_home / "Documents").c_str(), 1);
        ::setenv("TMPDIR", m_tmp.Path().c_str(), 1);
        ::setenv("RAVELO_DEMO_EMU_HEADLESS", "1", 1);
    }
    void TearDown() override
    {
        for (const char* name :
             {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DOCUMENTS_DIR", "TMPDIR", "RAVELO_DEMO_EMU_HEADLESS"})
            ::unsetenv(name);
        ::setenv("HOME", m_realHome.c_str(), 1);
    }

    CliResult Cli(std::vector<std::string> args)
    {
        return RunCli(InstalledTree::Get().Prefix() + "bin/ravelo-cli", std::move(args));
    }

    std::string m_realHome = std::getenv("HOME") ? std::getenv("HOME") : "/";
    TempFolder m_home, m_tmp, m_games;
};

TEST_F(InstalledProgramTest, InstalledCliFindsItsFilesUsesTheXdgFoldersAndPlaysADemoGame)
{
    const std::string prefix = InstalledTree::Get().Prefix();
    // The installed server finds its demo emulator in libexec and builds a catalogue from what is
    // installed.
    DemoCatalogueServer server(prefix + "bin/ravelo-server");
    ASSERT_FALSE(server.BaseUrl().empty()) << "the installed ravelo-server did not serve its demo catalogue";
    const std::set<std::string> installedBefore = InstalledTree::Get().Listing();

    fs::create_directories(m_home / ".config/ravelo");
    WriteText(m_home / ".config/ravelo/ravelo.cfg",
              "[Set]\nRomPath=" + m_games.Path() + "\nHandleType=0\n[Service]\nBaseUrl=" + server.BaseUrl() +
                  "\n");

    // A shipped file: the arcade name list gives an imported set its display name.
    const std::string arcade = m_games / "sf2.zip";
    {
        ZipBuilder zip(arcade);
        ASSERT_TRUE(zip.Add("sf2.bin", "rom"));
    }
    const CliResult imported = Cli({"import", arcade, "--system", "ARCADE"});
    ASSERT_EQ(imported.code, 0);
    ASSERT_EQ(imported.lines.size(), 1u);
    EXPECT_NE(imported.lines[0].find("街头霸王II"), std::string::npos) << imported.lines[0];

    const CliResult list = Cli({"list"});
    ASSERT_EQ(list.code, 0);
    std::string game;
    for (std::size_t i = 0; i < list.lines.size() && game.empty(); ++i)
        if (list.Fields(i).size() == 4 && list.Fields(i)[2] == "FC")
            game = list.Fields(i)[0];
    ASSERT_FALSE(game.empty());
    const CliResult install = Cli({"install", game});
    ASSERT_EQ(install.code, 0);
    EXPECT_EQ(install.lines.at(0), "安装完成\t" + m_games / ("FC/" + game + "/"));
    const CliResult launch = Cli({"launch", game, "--input", "keyboard"});
    ASSERT_EQ(launch.code, 0);
    ASSERT_FALSE(launch.lines.empty());
    EXPECT_EQ(launch.lines.back(), "退出码\t0");

    // The library and the emulator are in the data folder, the settings in the config folder.
    const std::string data = m_home / ".local/share/ravelo/";
    EXPECT_TRUE(fs::is_regular_file(data + "database/ravelo.db"));
    EXPECT_TRUE(fs::is_directory(data + "Emulator/FC"));
    EXPECT_FALSE(fs::exists(data + "ravelo.cfg"));
    EXPECT_NE(ReadText(m_home / ".config/ravelo/ravelo.cfg").find("Ticket="), std::string::npos);

    // Nothing else in the home folder, and nothing new in the installed tree.
    for (const std::string& path : ListBelow(m_home.Path())) {
        const bool xdg = path.rfind(".config", 0) == 0 || path.rfind(".local", 0) == 0;
        EXPECT_TRUE(xdg) << "written outside the XDG folders: " << path;
    }
    EXPECT_EQ(InstalledTree::Get().Listing(), installedBefore);
}

} // namespace
} // namespace ravelo::test
