// ravelo-cli scan, import and local as a user runs them, each a real process.
#include "support/ChildProcess.h"
#include "support/CliRun.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace ravelo::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class CliLocal : public testing::Test
{
protected:
    void SetUp() override
    {
        WriteText(m_home / "ravelo.cfg", "[Set]\nRomPath=" + m_games.Path() + "\n");
        ::setenv("RAVELO_HOME", m_home.Path().c_str(), 1);
        ::setenv("TMPDIR", m_tmp.Path().c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("RAVELO_HOME");
        ::unsetenv("TMPDIR");
    }

    static std::string MakeFile(const std::string& path, std::size_t bytes)
    {
        fs::create_directories(fs::path(path).parent_path());
        WriteText(path, std::string(bytes, 'r'));
        return path;
    }

    static CliResult Run(std::vector<std::string> args) { return RunCli(RAVELO_CLI_EXE, std::move(args)); }

    TempFolder m_home, m_tmp, m_games, m_dropped;
};

TEST_F(CliLocal, ScanImportsOnceAndImportAddsDroppedGamesInPlace)
{
    ASSERT_EQ(Run({"local"}).code, 0); // start-up makes the system folders
    const std::string local = m_games / "LocalGame/";
    const std::string mario = MakeFile(local + "FC/Mario.NES", 1572864);
    const std::string sf2 = MakeFile(local + "MAME/sf2.zip", 1024);

    const CliResult scan = Run({"scan"});
    EXPECT_EQ(scan.code, 0);
    EXPECT_EQ(scan.lines,
              (std::vector<std::string>{mario + "\tMario\t125\t1.50", sf2 + "\t街头霸王II\t123\t0.00"}));
    EXPECT_TRUE(
        fs::exists(m_tmp / "RaveloAppStore-" + std::to_string(::geteuid()) + "/cache/image/mame/sf2.png"));
    EXPECT_TRUE(Run({"scan"}).lines.empty()); // nothing new the second time

    const std::string contra = MakeFile(m_dropped / "My Games/魂斗罗 合集.zip", 2048);
    MakeFile(m_dropped / "My Games/manual.pdf", 10);
    EXPECT_EQ(Run({"import", m_dropped / "My Games", "--system", "0"}).code, 1);
    EXPECT_EQ(Run({"import", m_dropped / "My Games", "--system", "NOPE"}).code, 1);
    const CliResult imported =
        Run({"import", m_dropped / "My Games", m_dropped / "missing.nes", "--system", "fc"});
    EXPECT_EQ(imported.code, 0);
    EXPECT_EQ(imported.lines, std::vector<std::string>{contra + "\t魂斗罗 合集\t125\t0.00"});
    EXPECT_TRUE(Run({"import", contra, "--system", "125"}).lines.empty());

    const CliResult listed = Run({"local"});
    EXPECT_EQ(listed.code, 0);
    std::vector<std::string> expected{mario + "\tMario\t125\t1.50", sf2 + "\t街头霸王II\t123\t0.00",
                                      contra + "\t魂斗罗 合集\t125\t0.00"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed.lines, expected);
}

TEST_F(CliLocal, ScanWithoutAGamesFolderSaysSo)
{
    WriteText(m_home / "ravelo.cfg", "[Set]\n");
    const CliResult scan = Run({"scan"});
    EXPECT_EQ(scan.code, 1);
    EXPECT_TRUE(scan.lines.empty());
}

} // namespace
} // namespace ravelo::test
