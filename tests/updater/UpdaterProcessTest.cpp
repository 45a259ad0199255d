// ravelo-update as the program's self-update runs it: copied out of the install (into the data
// folder), waiting for the running program, replacing the install and starting the new version.
#include "platform/Process.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <thread>

namespace ravelo {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using test::ReadText;
using test::TempFolder;

/// Writes a file, making its folders first.
void WriteText(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    test::WriteText(path, text);
}

/// Waits for a condition that only a look at the disk can tell, looking every 10 ms.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

void WriteProgram(const std::string& path, const std::string& script)
{
    WriteText(path, script);
    ::chmod(path.c_str(), 0755);
}

class UpdaterProcessTest : public testing::Test
{
protected:
    void SetUp() override
    {
        WriteText(m_install / "portable.txt", "");
        WriteProgram(m_install / "ravelo", "#!/bin/sh\necho old > started.txt\n");
        WriteText(m_install / "ravelo.cfg", "[Set]\nRomPath=/games/\n");
        WriteText(m_install / "database/ravelo.db", "the user's library");
        // The new version starts, and says so from the install folder it runs in.
        WriteProgram(m_data / "update/program/ravelo", "#!/bin/sh\necho \"new $PWD\" > started.txt\n");
        WriteText(m_data / "update/program/LocalGameRes/gamelist/arcade_ch.ini", "new names");
        fs::copy_file(RAVELO_UPDATE_EXE, m_data / "update/ravelo-update");
        ASSERT_TRUE(m_running.Start({"/bin/sleep", {"60"}, {}}));
    }

    void TearDown() override
    {
        m_running.Terminate(0ms);
        m_running.Wait();
    }

    bool StartUpdater(std::vector<std::string> extra = {})
    {
        std::vector<std::string> arguments{
            "--install", m_install.Path(), "--wait", std::to_string(m_running.Id()), "--start", "ravelo"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return m_updater.Start({m_data / "update/ravelo-update", arguments, m_data / "update"});
    }

    std::string Log() const { return ReadText(m_data / "update/ravelo-update.log"); }

    TempFolder m_install;
    TempFolder m_data;
    Process m_running; // the program that asked for the update
    Process m_updater;
};

TEST_F(UpdaterProcessTest, WaitsForTheProgramThenReplacesItAndStartsTheNewVersion)
{
    ASSERT_TRUE(StartUpdater());
    ASSERT_TRUE(WaitUntil([&] { return Log().find("waiting for the program") != std::string::npos; }));
    // While the program runs nothing is touched.
    EXPECT_FALSE(m_updater.WaitFor(200ms));
    EXPECT_EQ(ReadText(m_install / "ravelo"), "#!/bin/sh\necho old > started.txt\n");

    m_running.Terminate(0ms); // the program ends, as it does after handing over
    m_running.Wait();
    const std::optional<int> code = m_updater.WaitFor(20s);
    ASSERT_TRUE(code) << Log();
    EXPECT_EQ(*code, 0) << Log();
    EXPECT_EQ(ReadText(m_install / "LocalGameRes/gamelist/arcade_ch.ini"), "new names");
    EXPECT_EQ(ReadText(m_install / "ravelo.cfg"), "[Set]\nRomPath=/games/\n");
    EXPECT_EQ(ReadText(m_install / "database/ravelo.db"), "the user's library");
    // The new version started, in the install.
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(m_install / "started.txt"); })) << Log();
    ASSERT_TRUE(
        WaitUntil([&] { return ReadText(m_install / "started.txt").find('\n') != std::string::npos; }));
    EXPECT_EQ(ReadText(m_install / "started.txt"),
              "new " + fs::path(m_install.Path()).parent_path().string() + "\n");
    EXPECT_NE(Log().find("started " + m_install / "ravelo"), std::string::npos) << Log();
}

TEST_F(UpdaterProcessTest, AProgramThatDoesNotEndKeepsItsFilesAndNothingElseStarts)
{
    ASSERT_TRUE(StartUpdater({"--timeout", "1"}));
    const std::optional<int> code = m_updater.WaitFor(20s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 1);
    EXPECT_TRUE(m_running.IsRunning());
    EXPECT_EQ(ReadText(m_install / "ravelo"), "#!/bin/sh\necho old > started.txt\n");
    EXPECT_FALSE(fs::exists(m_install / "started.txt"));
    EXPECT_NE(Log().find("nothing was replaced"), std::string::npos) << Log();
}

TEST_F(UpdaterProcessTest, AnInstallWithoutItsPortableMarkerIsNotTouched)
{
    fs::remove(m_install / "portable.txt");
    ASSERT_TRUE(StartUpdater());
    const std::optional<int> code = m_updater.WaitFor(20s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 1);
    EXPECT_EQ(ReadText(m_install / "ravelo"), "#!/bin/sh\necho old > started.txt\n");
    EXPECT_FALSE(fs::exists(m_install / "LocalGameRes"));
}

TEST_F(UpdaterProcessTest, AFailedUpdateStartsTheOldVersionAgain)
{
    // A package without program files: nothing to install, and the user is not left without a program.
    fs::remove_all(m_data / "update/program");
    ASSERT_TRUE(StartUpdater());
    m_running.Terminate(0ms);
    m_running.Wait();
    const std::optional<int> code = m_updater.WaitFor(20s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 1);
    ASSERT_TRUE(WaitUntil([&] { return ReadText(m_install / "started.txt") == "old\n"; })) << Log();
}

} // namespace
} // namespace ravelo
