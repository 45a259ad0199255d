#include "platform/Process.h"
#include "platform/DesktopOpen.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace ravelo;
using ravelo::test::ReadText;
using ravelo::test::TempFolder;
using ravelo::test::WriteText;
using namespace std::chrono_literals;

namespace {

// A small program of our own: a shell script with the execute bit.
std::string WriteScript(const std::string& path, const std::string& body)
{
    WriteText(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
    return path;
}

// Gone, or a zombie waiting for whoever adopted it (a container's first process may never reap).
bool HasEnded(pid_t pid)
{
    const std::string stat = ReadText("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t close = stat.rfind(')');
    return close == std::string::npos || stat.compare(close + 2, 1, "Z") == 0;
}

} // namespace

TEST(SplitParameters, BlanksSeparateQuotesGroupNothingElseIsSpecial)
{
    using List = std::vector<std::string>;
    EXPECT_EQ(SplitParameters(""), List{});
    EXPECT_EQ(SplitParameters("   "), List{});
    EXPECT_EQ(SplitParameters("\"/游戏 目录/Mario Bros.nes\""), List{"/游戏 目录/Mario Bros.nes"});
    EXPECT_EQ(SplitParameters("-rom  sf2"), (List{"-rom", "sf2"}));
    EXPECT_EQ(SplitParameters("\"/g/a.iso\" -fullscreen"), (List{"/g/a.iso", "-fullscreen"}));
    // A plain template glued to the quoted path: the quotes group inside one argument.
    EXPECT_EQ(SplitParameters("--game=\"/a b/c.gba\""), List{"--game=/a b/c.gba"});
    EXPECT_EQ(SplitParameters("a \"\" b"), (List{"a", "", "b"}));
    EXPECT_EQ(SplitParameters("$HOME `x` *.nes 'q'"), (List{"$HOME", "`x`", "*.nes", "'q'"}));
    EXPECT_EQ(SplitParameters("\"unclosed quote here"), List{"unclosed quote here"});
}

TEST(Process, RunsInItsFolderWithArgumentsUntouchedAndReportsTheExitCode)
{
    TempFolder temp;
    const std::string folder = temp / "模拟器 一";
    std::filesystem::create_directories(folder);
    WriteScript(folder + "/emu.sh",
                "printf '%s|' \"$(pwd)\" \"$@\" > out.txt\n"
                "[ \"$(ps -o pgid= -p $$ | tr -d ' ')\" = \"$$\" ] && echo own-group >> out.txt\n"
                "exit 7\n");
    Process process;
    ASSERT_TRUE(process.Start({"emu.sh", {"/游戏 目录/Mario Bros.nes", "$HOME", ""}, folder}));
    EXPECT_TRUE(process.IsRunning());
    EXPECT_EQ(process.Wait(), 7);
    EXPECT_FALSE(process.IsRunning());
    EXPECT_EQ(process.Wait(), 7); // reaped once, asked again
    EXPECT_EQ(ReadText(folder + "/out.txt"), folder + "|/游戏 目录/Mario Bros.nes|$HOME||own-group\n");
}

TEST(Process, ProgramsThatCannotStartSayWhy)
{
    TempFolder temp;
    std::string error;
    Process process;
    EXPECT_FALSE(process.Start({"missing.exe", {}, temp.Path()}, &error));
    EXPECT_NE(error.find("无法启动程序"), std::string::npos) << error;
    WriteText(temp / "plain.txt", "not a program");
    EXPECT_FALSE(process.Start({"plain.txt", {}, temp.Path()}, &error));
    WriteScript(temp / "ok.sh", "exit 0\n");
    EXPECT_FALSE(process.Start({"ok.sh", {}, temp / "no-such-folder"}, &error));
    EXPECT_EQ(process.Wait(), 0); // nothing started: nothing to wait for
}

TEST(Process, WaitForTimesOutWhileRunningAndTerminateEndsTheWholeGroup)
{
    TempFolder temp;
    // The program starts a grandchild that would outlive it; both must end.
    WriteScript(temp / "parent.sh", "sleep 60 &\necho $! > grandchild.pid\nwait\n");
    Process process;
    ASSERT_TRUE(process.Start({"parent.sh", {}, temp.Path()}));
    EXPECT_FALSE(process.WaitFor(50ms).has_value());
    // The grandchild's id is written right after it starts.
    while (ReadText(temp / "grandchild.pid").find('\n') == std::string::npos)
        ASSERT_FALSE(process.WaitFor(10ms).has_value());
    const pid_t grandchild = std::stoi(ReadText(temp / "grandchild.pid"));
    process.Terminate();
    const std::optional<int> code = process.WaitFor(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 128 + SIGTERM);
    // sleep got SIGTERM too.
    for (int i = 0; i < 500 && !HasEnded(grandchild); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(HasEnded(grandchild));
}

TEST(Process, TerminateKillsAProgramThatIgnoresTheRequest)
{
    TempFolder temp;
    WriteScript(temp / "stubborn.sh", "trap '' TERM\necho ready > ready.txt\nwhile :; do sleep 1; done\n");
    Process process;
    ASSERT_TRUE(process.Start({"stubborn.sh", {}, temp.Path()}));
    while (ReadText(temp / "ready.txt").empty())
        ASSERT_FALSE(process.WaitFor(10ms).has_value());
    process.Terminate(100ms);
    const std::optional<int> code = process.WaitFor(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 128 + SIGKILL);
}

TEST(DesktopOpen, HandsTheFolderToTheOpenerFoundOnPath)
{
    TempFolder temp;
    std::filesystem::create_directories(temp / "bin");
    WriteScript(temp / "bin/xdg-open", "printf '%s' \"$1\" > \"" + temp / "opened.tmp" + "\"\nmv \"" +
                                           temp / "opened.tmp" + "\" \"" + temp / "opened.txt" + "\"\n");
    const std::string savedPath = std::getenv("PATH");
    ::setenv("PATH", (temp / "bin:" + savedPath).c_str(), 1);
    EXPECT_EQ(FindOnPath("xdg-open"), temp / "bin/xdg-open");
    const bool opened = OpenWithDesktop("/模拟器/FC/Demo Emu");
    ::setenv("PATH", (temp / "empty-folder").c_str(), 1);
    EXPECT_EQ(FindOnPath("xdg-open"), "");
    EXPECT_FALSE(OpenWithDesktop("/anything"));
    ::setenv("PATH", savedPath.c_str(), 1);
    ASSERT_TRUE(opened);
    // The opener runs on its own; its result appears whole once it is done.
    for (int i = 0; i < 500 && !std::filesystem::exists(temp / "opened.txt"); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(ReadText(temp / "opened.txt"), "/模拟器/FC/Demo Emu");
}
