// The whole program under a real X server, driven by real X input events: search a game, install it
// from its tile, play it with the demo emulator, leave through the tray menu. Positions are those of
// the layouts at the main window's first size; what is checked is what the program leaves behind
// (the library database, the emulator's files, the server's request log), never pixels.

#include "support/ChildProcess.h"
#include "support/DemoCatalogueServer.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <poll.h>
#include <sys/syscall.h>
#include <thread>

namespace {

using namespace std::chrono_literals;
using ravelo::test::ChildProcess;
using ravelo::test::DemoCatalogueServer;
using ravelo::test::ReadText;
using ravelo::test::TempFolder;
namespace fs = std::filesystem;

bool OnPath(const char* program)
{
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

/// Runs a short X tool to its end; its output lines.
std::vector<std::string> RunTool(std::vector<std::string> args, std::chrono::milliseconds timeout = 10s)
{
    args[0] = "/usr/bin/" + args[0];
    ChildProcess tool(args);
    std::vector<std::string> lines;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        std::string line = tool.ReadLine(std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()));
        if (line.empty())
            break;
        lines.push_back(std::move(line));
    }
    return lines;
}

/// The first visible window whose title is exactly `title`, waiting at most `timeout`.
std::string WindowNamed(const std::string& title, std::chrono::milliseconds timeout = 20s)
{
    const std::vector<std::string> found =
        RunTool({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^" + title + "$"}, timeout);
    return found.empty() ? std::string() : found.front();
}

void ClickIn(const std::string& window, int x, int y, int button = 1)
{
    RunTool({"xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y), "click",
             std::to_string(button)});
}

/// Waits for a condition on files the program writes; the program gives no other sign to an outsider.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

/// The installed game's row, read the way another program would read the library.
struct InstalledGame
{
    std::string id;
    std::string folder;
};

std::optional<InstalledGame> InstalledGameNamed(const fs::path& database, const std::string& name)
{
    sqlite3* db = nullptr;
    std::optional<InstalledGame> game;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT GameId, FilePath FROM Gameinfo WHERE GameName = ?", -1, &statement,
                               nullptr) == SQLITE_OK) {
            sqlite3_bind_text(statement, 1, name.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(statement) == SQLITE_ROW)
                game = InstalledGame{reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                                     reinterpret_cast<const char*>(sqlite3_column_text(statement, 1))};
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return game;
}

int EmulatorsRecorded(const fs::path& database)
{
    sqlite3* db = nullptr;
    int count = 0;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM EmulatorInfo", -1, &statement, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            count = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return count;
}

/// Waits for a process to end by itself, at most `timeout`.
bool EndsWithin(pid_t pid, std::chrono::milliseconds timeout)
{
    const int handle = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (handle < 0)
        return false;
    pollfd ended{handle, POLLIN, 0};
    const bool done = ::poll(&ended, 1, static_cast<int>(timeout.count())) == 1;
    ::close(handle);
    return done;
}

class WindowEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "trayer"})
            if (!OnPath(tool))
                GTEST_SKIP() << tool << " is not installed (scripts/setup.sh installs it)";
        // Xvfb picks a free display and writes its number on the descriptor given.
        m_xserver = std::make_unique<ChildProcess>(std::vector<std::string>{
            "/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", "1920x1080x24", "-nolisten", "tcp"});
        const std::string display = m_xserver->ReadLine(20s);
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        ::setenv("DISPLAY", (":" + display).c_str(), 1);
        ::unsetenv("QT_QPA_PLATFORM");
        ::unsetenv("WAYLAND_DISPLAY");
        // A notification area, as a desktop panel would offer it, before the program looks for one.
        m_tray = std::make_unique<ChildProcess>(
            std::vector<std::string>{"/usr/bin/trayer", "--edge", "top", "--align", "right", "--widthtype",
                                     "request", "--height", "24", "--SetDockType", "false"});
        m_panel = WindowNamed("panel");
        ASSERT_FALSE(m_panel.empty()) << "trayer did not start";

        ASSERT_FALSE(m_server.BaseUrl().empty()) << "ravelo-server did not start";
        fs::create_directories(fs::path(m_home.Path()) / "home");
        std::ofstream(fs::path(m_home.Path()) / "home/ravelo.cfg")
            << "[Service]\nBaseUrl=" << m_server.BaseUrl()
            << "\n[Set]\nRomPath=" << (fs::path(m_home.Path()) / "games/").string() << "\nHandleType=0\n";
        ::setenv("RAVELO_HOME", (fs::path(m_home.Path()) / "home").c_str(), 1);
        ::setenv("RAVELO_DEMO_EMU_HEADLESS", "1", 1);
    }

    fs::path Home() const { return fs::path(m_home.Path()) / "home"; }

    DemoCatalogueServer m_server{RAVELO_SERVER_EXE};
    TempFolder m_home;
    std::unique_ptr<ChildProcess> m_xserver;
    std::unique_ptr<ChildProcess> m_tray;
    std::string m_panel;
};

TEST_F(WindowEndToEndTest, SearchInstallPlayAndLeaveFromTheTray)
{
    ChildProcess program({RAVELO_EXE});
    ASSERT_TRUE(program.Started());
    const std::string main = WindowNamed("Ravelo");
    ASSERT_FALSE(main.empty()) << "the main window did not show";

    // Search from the title bar; the result's tile is the first.
    const std::string game = "龙之剑";
    ClickIn(main, 600, 35);
    RunTool({"xdotool", "type", "--delay", "40", game});
    RunTool({"xdotool", "key", "Return"});
    ASSERT_TRUE(WaitUntil(
        [&] {
            return ReadText(m_server.AccessLog()).find("keyword=%E9%BE%99%E4%B9%8B%E5%89%91") !=
                   std::string::npos;
        },
        20s));

    // Install: the system's emulator is set up first (the popup ends with its OK button), then the
    // source is chosen.
    const int tileX = 329, tileY = 357;
    // The tile shows as soon as the answer is read; a click that came before it is made again.
    std::string setup;
    ASSERT_TRUE(WaitUntil(
        [&] {
            ClickIn(main, tileX, tileY);
            setup = WindowNamed("下载文件", 5s);
            return !setup.empty();
        },
        40s))
        << "the emulator's setup did not show";
    // The popup's one button cancels until the archive is unpacked and closes it afterwards; the
    // emulator's readme is the archive's last entry.
    const fs::path readme = Home() / "Emulator/SFC/SFC-Demo/readme.txt";
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(readme) && fs::file_size(readme) > 0; }, 60s));
    ClickIn(setup, 365, 177);
    const std::string source = WindowNamed("下载方式", 30s);
    ASSERT_FALSE(source.empty()) << "the download source was not asked";
    ClickIn(source, 100, 57);
    EXPECT_TRUE(WaitUntil([&] { return EmulatorsRecorded(Home() / "database/ravelo.db") == 1; }, 10s));

    std::optional<InstalledGame> installed;
    ASSERT_TRUE(WaitUntil(
        [&] { return (installed = InstalledGameNamed(Home() / "database/ravelo.db", game)).has_value(); },
        60s))
        << "the game never reached the library";
    EXPECT_EQ(fs::path(installed->folder), fs::path(m_home.Path()) / "games/SFC" / installed->id / "");
    EXPECT_NE(ReadText(m_server.AccessLog()).find("GET /download/games/" + installed->id + "/"),
              std::string::npos);

    // Play: the tile now starts the game; the first start asks for the input kind.
    std::string method;
    ASSERT_TRUE(WaitUntil(
        [&] {
            ClickIn(main, tileX, tileY);
            method = WindowNamed("选择控制方式", 3s);
            return !method.empty();
        },
        30s))
        << "the tile never offered to play";
    ClickIn(method, 310, 150);
    const fs::path emulator = Home() / "Emulator/SFC/SFC-Demo";
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(emulator / "launches.log"); }, 30s))
        << "the emulator did not run";
    // The emulator's keyboard settings for this game come back into the program's folder once it ends.
    EXPECT_TRUE(
        WaitUntil([&] { return fs::exists(emulator / "UserKeyBoardCfg" / (installed->id + ".cfg")); }, 30s));
    EXPECT_NE(ReadText(Home() / "ravelo.cfg").find("HandleType=2"), std::string::npos);

    // Leave from the tray: the icon's menu, its last item.
    RunTool({"xdotool", "mousemove", "--window", m_panel, "12", "12", "click", "3"});
    RunTool({"xdotool", "sleep", "0.5", "key", "Up", "key", "Return"});
    EXPECT_TRUE(EndsWithin(program.Pid(), 20s)) << "the tray menu's exit did not end the program";
    EXPECT_EQ(program.Wait(), 0);
}

} // namespace
