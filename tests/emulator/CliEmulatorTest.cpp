// ravelo-cli emulators and emulator install as a user runs them, against ravelo-server on 127.0.0.1.
#include "download/TestFileServer.h"
#include "support/CliRun.h"
#include "support/DemoCatalogueServer.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// ravelo-cli's output as rows of tab-separated fields.
struct CliTable
{
    int code = -1;
    std::vector<std::vector<std::string>> rows;
};

// Whether the folder holds a file that can be run (the package unpacked with its execute bits).
bool HoldsAProgram(const std::string& folder)
{
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error))
        if (entry.is_regular_file() &&
            (entry.status().permissions() & fs::perms::owner_exec) != fs::perms::none)
            return true;
    return false;
}

class CliEmulator : public testing::Test
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
        WriteText(m_home / "ravelo.cfg", "[Service]\nBaseUrl=" + s_baseUrl + "\n");
        ::setenv("RAVELO_HOME", m_home.Path().c_str(), 1);
        ::setenv("TMPDIR", m_tmp.Path().c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("RAVELO_HOME");
        ::unsetenv("TMPDIR");
    }

    static CliTable Run(std::vector<std::string> args)
    {
        const CliResult result = RunCli(RAVELO_CLI_EXE, std::move(args));
        CliTable table{result.code, {}};
        for (std::size_t i = 0; i < result.lines.size(); ++i)
            table.rows.push_back(result.Fields(i));
        return table;
    }

    TempFolder m_home, m_tmp;
    static inline std::unique_ptr<DemoCatalogueServer> s_demo;
    static inline std::string s_baseUrl;
};

TEST_F(CliEmulator, ListsInstallsAndThenShowsTheEmulatorInstalled)
{
    const CliTable before = Run({"emulators"});
    ASSERT_EQ(before.code, 0);
    ASSERT_FALSE(before.rows.empty());
    const auto fc = std::find_if(before.rows.begin(), before.rows.end(),
                                 [](const auto& row) { return row.size() == 5 && row[3] == "FC"; });
    ASSERT_NE(fc, before.rows.end());
    for (const auto& row : before.rows) {
        ASSERT_EQ(row.size(), 5u);
        EXPECT_EQ(row[4], "available");
    }
    EXPECT_TRUE(std::is_sorted(before.rows.begin(), before.rows.end()));

    const std::vector<std::string> expected{(*fc)[0], (*fc)[1], (*fc)[2], "FC", "installed"};
    const CliTable install = Run({"emulator", "install", (*fc)[0]});
    ASSERT_EQ(install.code, 0);
    EXPECT_EQ(install.rows, std::vector<std::vector<std::string>>{expected});
    EXPECT_TRUE(HoldsAProgram(m_home / ("Emulator/FC/" + (*fc)[1])));

    const CliTable after = Run({"emulators"});
    ASSERT_EQ(after.code, 0);
    EXPECT_EQ(after.rows.size(), before.rows.size());
    EXPECT_EQ(std::count(after.rows.begin(), after.rows.end(), expected), 1);
    EXPECT_EQ(std::count_if(after.rows.begin(), after.rows.end(),
                            [](const auto& row) { return row[4] == "installed"; }),
              1);

    EXPECT_EQ(Run({"emulator", "install", (*fc)[0]}).code, 0); // already there: said, not redone
    EXPECT_EQ(Run({"emulator", "install", "999"}).code, 1);
    EXPECT_EQ(Run({"emulator", "remove", (*fc)[0]}).code, 1);
}

TEST(CliEmulatorCancel, CtrlCDuringTheSetupCancelsItCleanlyAndRecordsNothing)
{
    // A package that stops arriving after its first kilobyte: the setup waits on the network.
    TestFileServer server;
    server.Put("slow.zip", std::string(4 << 20, 'z'));
    // The package's address holds the port, known once the server listens.
    server.Http().Post("/list", [&server](const httplib::Request&, httplib::Response& res) {
        res.set_content(R"({"fc":[{"emulatorid":"1250009","name":"Slow","version":"1.0","downloadurl":")" +
                            server.FileUrl("slow.zip") +
                            R"(","emulatortype":"125","system":"FC","execute":["x"],"executeparam":"",)"
                            R"("configtype":"0","keyconfig":[],"setconfig":[]}]})",
                        "application/json");
    });
    server.Start();
    server.CloseGate("slow.zip", 1024);

    TempFolder home, tmp;
    WriteText(home / "ravelo.cfg",
              "[Service]\nBaseUrl=" + server.Url("") + "\nEmulatorListUrl=" + server.Url("/list") + "\n");
    ::setenv("RAVELO_HOME", home.Path().c_str(), 1);
    ::setenv("TMPDIR", tmp.Path().c_str(), 1);
    ChildProcess cli({RAVELO_CLI_EXE, "emulator", "install", "1250009"});
    ASSERT_TRUE(server.WaitAtGate());
    EXPECT_EQ(cli.StopWith(SIGINT, 10s), 1); // ended on its own after cancelling, not killed
    server.ReleaseGate();

    const CliResult after = RunCli(RAVELO_CLI_EXE, {"emulators"});
    ::unsetenv("RAVELO_HOME");
    ::unsetenv("TMPDIR");
    ASSERT_EQ(after.lines.size(), 1u);
    EXPECT_EQ(after.Fields(0).back(), "available");
    EXPECT_FALSE(fs::exists(home / "Emulator/FC/Slow"));
}

} // namespace
} // namespace ravelo::test
