// ravelo-cli as a user runs it, against ravelo-server serving its demo catalogue on 127.0.0.1.
#include "support/ChildProcess.h"
#include "support/CliRun.h"
#include "support/DemoCatalogueServer.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class CliSession : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_demo = std::make_unique<DemoCatalogueServer>(RAVELO_SERVER_EXE);
        s_baseUrl = s_demo->BaseUrl();
        ASSERT_FALSE(s_baseUrl.empty()) << "ravelo-server did not serve its demo catalogue";
    }
    static void TearDownTestSuite() { s_demo.reset(); }

    void SetUp() override
    {
        // The texts checked here are the Chinese ones, whatever language CI's environment names.
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            ::unsetenv(name);
        ::setenv("LANG", "C", 1);
        WriteSettings(m_games.Path());
        ::setenv("RAVELO_HOME", m_home.Path().c_str(), 1);
        ::setenv("TMPDIR", m_tmp.Path().c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("RAVELO_HOME");
        ::unsetenv("TMPDIR");
    }

    void WriteSettings(const std::string& romPath, const std::string& language = "")
    {
        WriteText(m_home / "ravelo.cfg", "[Set]\nRomPath=" + romPath + "\nLanguage=" + language +
                                             "\n[Service]\nBaseUrl=" + s_baseUrl + "\n");
    }

    static CliResult Run(std::vector<std::string> args) { return RunCli(RAVELO_CLI_EXE, std::move(args)); }

    TempFolder m_home, m_tmp, m_games;
    static inline std::unique_ptr<DemoCatalogueServer> s_demo;
    static inline std::string s_baseUrl;
};

TEST_F(CliSession, ListsSearchesAndShowsTheDemoCatalogue)
{
    const CliResult list = Run({"list"});
    ASSERT_EQ(list.code, 0);
    EXPECT_GE(list.lines.size(), 20u);
    EXPECT_EQ(std::count(list.lines[0].begin(), list.lines[0].end(), '\t'), 3) << list.lines[0];

    const CliResult search = Run({"search", "三国"});
    ASSERT_EQ(search.code, 0);
    ASSERT_FALSE(search.lines.empty());
    EXPECT_NE(search.lines[0].find("三国"), std::string::npos);

    const CliResult info = Run({"info", "1001"});
    ASSERT_EQ(info.code, 0);
    EXPECT_EQ(info.lines[0].rfind("1001\t", 0), 0u);
}

TEST_F(CliSession, InstallsWholeArchivesVolumesAndUnpackedGames)
{
    const CliResult whole = Run({"install", "1001"});
    ASSERT_EQ(whole.code, 0);
    ASSERT_EQ(whole.lines.size(), 1u);
    EXPECT_EQ(whole.lines[0], "安装完成\t" + m_games / "FC/1001/");
    EXPECT_TRUE(fs::exists(m_games / "FC/1001/1001.nes"));
    EXPECT_FALSE(fs::exists(m_games / "FC/1001/1001.zip"));

    ASSERT_EQ(Run({"install", "1071"}).code, 0); // in volumes
    EXPECT_TRUE(fs::exists(m_games / "PS/1071/1071.cue"));

    ASSERT_EQ(Run({"install", "1081", "--source", "nozip"}).code, 0);
    EXPECT_TRUE(fs::exists(m_games / "ARCADE/1081/1081.zip"));

    const CliResult installed = Run({"installed"});
    ASSERT_EQ(installed.code, 0);
    ASSERT_EQ(installed.lines.size(), 3u);
    EXPECT_EQ(installed.lines[0].substr(0, 5), "1001\t");
    EXPECT_NE(installed.lines[0].find("\t" + m_games / "FC/1001/"), std::string::npos);

    const CliResult again = Run({"install", "1001"});
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.lines[0].rfind("已安装", 0), 0u);
}

// English, chosen in the settings or by the environment, changes the texts a person reads; the
// tab-separated lists keep their columns and values.
TEST_F(CliSession, SpeaksEnglishAndKeepsTheListsAsTheyAre)
{
    const CliResult chinese = Run({"list"});
    ASSERT_EQ(chinese.code, 0);
    WriteSettings(m_games.Path(), "en");
    const CliResult english = Run({"list"});
    ASSERT_EQ(english.code, 0);
    EXPECT_EQ(english.lines, chinese.lines);
    const CliResult help = Run({"help"});
    ASSERT_FALSE(help.lines.empty());
    EXPECT_EQ(help.lines[0], "Usage:");
    const CliResult whole = Run({"install", "1001"});
    ASSERT_EQ(whole.code, 0);
    EXPECT_EQ(whole.lines, std::vector<std::string>{"Install complete\t" + m_games / "FC/1001/"});

    WriteSettings(m_games.Path());
    ::setenv("LANGUAGE", "en", 1); // glibc ignores it under LANG=C; the program does not
    const CliResult again = Run({"install", "1001"});
    EXPECT_EQ(again.lines, std::vector<std::string>{"Installed\t" + m_games / "FC/1001/"});
    const CliResult installed = Run({"installed"});
    ASSERT_EQ(installed.lines.size(), 1u);
    EXPECT_EQ(installed.Fields(0).at(0), "1001");
    EXPECT_EQ(installed.Fields(0).size(), 3u);
}

TEST_F(CliSession, AnIdentityTheServiceNoLongerKnowsIsReplaced)
{
    WriteText(m_home / "ravelo.cfg", "[Set]\nRomPath=" + m_games.Path() + "\n[Service]\nBaseUrl=" +
                                         s_baseUrl + "\n[User]\nUid=424242\nTicket=stale%2Bticket\n");
    ASSERT_EQ(Run({"install", "1002"}).code, 0);
    const std::string settings = ReadText(m_home / "ravelo.cfg");
    EXPECT_EQ(settings.find("Uid=424242"), std::string::npos);
    EXPECT_NE(settings.find("Ticket="), std::string::npos);
}

TEST_F(CliSession, FailuresExitWithOneAndInstallNothing)
{
    EXPECT_EQ(Run({"install", "999999"}).code, 1);
    EXPECT_EQ(Run({"install", "1001", "--source", "cloud"}).code, 1); // the demo has no cloud links
    EXPECT_EQ(Run({"install", "../1001"}).code, 1);
    WriteSettings("");
    EXPECT_EQ(Run({"install", "1001"}).code, 1); // no games folder chosen
    EXPECT_TRUE(Run({"installed"}).lines.empty());
}

} // namespace
} // namespace ravelo::test
