// The program's windows measured as a person meets them, under a private Xvfb, against the demo
// catalogue on loopback, each figure beside a bare Qt window measured in the same run:
//   1. start-up: exec to the main window's first paint (target under 3x the bare window's), and to
//      the home page complete with its pictures;
//   2. idle: CPU and wake-ups per thread over a quiet spell, with the window open on the category
//      page and hidden in the tray (targets: under 0.5% of a core, under 1 wake-up per second per
//      thread); the home page, whose banner turns, is printed beside them;
//   3. memory: resident size after 20 page turns against the size after the first page (target at
//      most 1.5x);
//   4. responsiveness: the UI thread's event-loop latency with the catalogue server stalled while
//      the user clicks through systems (target: 99th percentile under 50 ms).
// Needs Xvfb and xdotool (trayer for the tray figure). Usage: window_bench [quiet-seconds]  (20)
// "window_bench --bare" is the reference window itself.
#include "gui/common/UiProbe.h"

#include "support/ChildProcess.h"
#include "support/DemoCatalogueServer.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QWidget>

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using ravelo::test::ChildProcess;
using ravelo::test::DemoCatalogueServer;
using ravelo::test::TempFolder;
namespace fs = std::filesystem;

std::string g_self;

int RunBareWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1250, 680);
    ravelo::UiProbe::WatchFirstPaint(&window);
    ravelo::UiProbe::StartLatencySampler();
    window.show();
    return app.exec();
}

bool OnPath(const char* program)
{
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

void Xdotool(const std::vector<std::string>& args)
{
    std::vector<std::string> command{"/usr/bin/xdotool"};
    command.insert(command.end(), args.begin(), args.end());
    ChildProcess tool(command);
    tool.Wait();
}

std::string FirstLine(const std::vector<std::string>& command, std::chrono::milliseconds timeout)
{
    ChildProcess tool(command);
    return tool.ReadLine(timeout);
}

/// Waits for a line starting with `prefix`; seconds since `since`, or -1.
double SecondsToLine(ChildProcess& process, const std::string& prefix, Clock::time_point since,
                     std::chrono::milliseconds timeout, std::string* line = nullptr)
{
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        const std::string got =
            process.ReadLine(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
        if (got.rfind(prefix, 0) == 0) {
            if (line)
                *line = got;
            return std::chrono::duration<double>(Clock::now() - since).count();
        }
        if (got.empty())
            break;
    }
    return -1;
}

/// CPU ticks of a process and the voluntary switches (wake-ups from sleep) of each of its threads.
struct ProcessSample
{
    long long ticks = 0;
    std::map<std::string, long long> wakeups;
};

ProcessSample Sample(pid_t pid)
{
    ProcessSample sample;
    const fs::path proc = "/proc/" + std::to_string(pid);
    std::ifstream stat(proc / "stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int index = 3; fields >> field; ++index)
        if (index == 14 || index == 15)
            sample.ticks += std::stoll(field);
    std::error_code error;
    for (const auto& task : fs::directory_iterator(proc / "task", error)) {
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                sample.wakeups[task.path().filename()] = std::stoll(line.substr(24));
    }
    return sample;
}

struct IdleFigure
{
    double cpuPercent = 0;
    double worstThreadWakeups = 0;
    std::size_t threads = 0;
};

/// The quiet spell of several processes, measured side by side.
std::vector<IdleFigure> MeasureIdle(const std::vector<pid_t>& pids, int seconds)
{
    std::vector<ProcessSample> before;
    for (pid_t pid : pids)
        before.push_back(Sample(pid));
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<IdleFigure> figures;
    for (std::size_t i = 0; i < pids.size(); ++i) {
        const ProcessSample after = Sample(pids[i]);
        IdleFigure figure;
        figure.cpuPercent = 100.0 * static_cast<double>(after.ticks - before[i].ticks) /
                            static_cast<double>(::sysconf(_SC_CLK_TCK)) / elapsed;
        figure.threads = after.wakeups.size();
        for (const auto& [thread, count] : after.wakeups) {
            const auto old = before[i].wakeups.find(thread);
            const long long start = old == before[i].wakeups.end() ? 0 : old->second;
            figure.worstThreadWakeups =
                std::max(figure.worstThreadWakeups, static_cast<double>(count - start) / elapsed);
        }
        figures.push_back(figure);
    }
    return figures;
}

long ResidentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

/// A program folder of its own (so no run finds another's cached pictures) pointing at `baseUrl`.
std::string MakeHome(const TempFolder& root, const std::string& name, const std::string& baseUrl)
{
    const fs::path home = fs::path(root.Path()) / name;
    fs::create_directories(home);
    std::ofstream(home / "ravelo.cfg") << "[Service]\nBaseUrl=" << baseUrl
                                       << "\n[Set]\nRomPath=" << (home / "games/").string() << "\nIsTray=1\n";
    return home;
}

std::unique_ptr<ChildProcess> StartProgram(const std::string& home, const char* probe)
{
    ::setenv("RAVELO_HOME", home.c_str(), 1);
    ::setenv("RAVELO_UI_PROBE", probe, 1);
    return std::make_unique<ChildProcess>(std::vector<std::string>{RAVELO_EXE});
}

std::unique_ptr<ChildProcess> StartBare(const char* probe)
{
    ::setenv("RAVELO_UI_PROBE", probe, 1);
    return std::make_unique<ChildProcess>(std::vector<std::string>{g_self, "--bare"});
}

std::string MainWindow()
{
    return FirstLine({"/usr/bin/xdotool", "search", "--sync", "--onlyvisible", "--name", "^Ravelo$"}, 20s);
}

void Click(const std::string& window, int x, int y)
{
    Xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y), "click", "1"});
}

void Stop(std::unique_ptr<ChildProcess>& process)
{
    if (process)
        process->StopWith(SIGTERM, 10s);
    process.reset();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        return RunBareWindow(argc, argv);
    g_self = fs::canonical("/proc/self/exe");
    const int quiet = argc > 1 ? std::max(5, std::atoi(argv[1])) : 20;
    for (const char* tool : {"Xvfb", "xdotool"})
        if (!OnPath(tool)) {
            std::fprintf(stderr, "window_bench needs %s\n", tool);
            return 1;
        }

    ChildProcess xserver(
        {"/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", "1920x1080x24", "-nolisten", "tcp"});
    const std::string display = xserver.ReadLine(20s);
    if (display.empty()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    ::setenv("DISPLAY", (":" + display).c_str(), 1);
    ::unsetenv("QT_QPA_PLATFORM");
    std::unique_ptr<ChildProcess> tray;
    if (OnPath("trayer")) {
        tray = std::make_unique<ChildProcess>(std::vector<std::string>{"/usr/bin/trayer", "--edge", "top",
                                                                       "--align", "right", "--widthtype",
                                                                       "request", "--height", "24"});
        FirstLine({"/usr/bin/xdotool", "search", "--sync", "--name", "^panel$"}, 10s);
    }
    DemoCatalogueServer server(RAVELO_SERVER_EXE);
    if (server.BaseUrl().empty()) {
        std::fprintf(stderr, "ravelo-server did not start\n");
        return 1;
    }
    TempFolder homes;

    // 1. Start-up, best of three rounds each.
    double bare = 1e9, firstPaint = 1e9, pageComplete = 1e9;
    for (int round = 0; round < 3; ++round) {
        const auto bareStart = Clock::now();
        auto reference = StartBare("1");
        const double barePainted = SecondsToLine(*reference, "probe first-paint", bareStart, 20s);
        Stop(reference);
        const std::string home = MakeHome(homes, "start" + std::to_string(round), server.BaseUrl());
        const auto start = Clock::now();
        auto program = StartProgram(home, "1");
        const double painted = SecondsToLine(*program, "probe first-paint", start, 30s);
        const double complete = SecondsToLine(*program, "probe page-complete", start, 30s);
        Stop(program);
        if (barePainted < 0 || painted < 0 || complete < 0) {
            std::fprintf(stderr, "the program did not paint or complete its page\n");
            return 1;
        }
        bare = std::min(bare, barePainted);
        firstPaint = std::min(firstPaint, painted);
        pageComplete = std::min(pageComplete, complete);
    }
    std::printf("start-up: bare Qt window first paint %.3f s; ravelo first paint %.3f s, home page with "
                "its pictures %.3f s\n",
                bare, firstPaint, pageComplete);
    std::printf("start-up: first paint / bare window: ratio %.2f (target < 3.00)\n", firstPaint / bare);

    // 2. Idle, side by side with the bare window; then hidden in the tray.
    {
        auto program = StartProgram(MakeHome(homes, "idle", server.BaseUrl()), "1");
        auto reference = StartBare("1");
        SecondsToLine(*program, "probe page-complete", Clock::now(), 30s);
        SecondsToLine(*reference, "probe first-paint", Clock::now(), 30s);
        std::this_thread::sleep_for(3s); // let the first page's work settle
        // The home page turns its banner every 3 s, which is something happening; the category page
        // is a page with nothing happening.
        const std::vector<IdleFigure> home = MeasureIdle({program->Pid()}, quiet);
        std::printf(
            "home page open, banner turning, %d s: ravelo %.3f%% of a core, worst thread %.2f wake-ups/s\n",
            quiet, home[0].cpuPercent, home[0].worstThreadWakeups);
        Click(MainWindow(), 85, 147);
        SecondsToLine(*program, "probe page-complete", Clock::now(), 30s);
        std::this_thread::sleep_for(3s);
        const std::vector<IdleFigure> open = MeasureIdle({program->Pid(), reference->Pid()}, quiet);
        std::printf("idle, category page open, %d s: ravelo %.3f%% of a core, %zu threads, worst thread %.2f "
                    "wake-ups/s; bare window %.3f%%, worst thread %.2f wake-ups/s (targets < 0.5%%, < 1/s)\n",
                    quiet, open[0].cpuPercent, open[0].threads, open[0].worstThreadWakeups,
                    open[1].cpuPercent, open[1].worstThreadWakeups);
        if (tray) {
            Click(MainWindow(), 1222, 35); // the close button hides to the tray with IsTray=1
            std::this_thread::sleep_for(2s);
            const std::vector<IdleFigure> hidden = MeasureIdle({program->Pid()}, quiet);
            std::printf(
                "idle, hidden in the tray, %d s: ravelo %.3f%% of a core, worst thread %.2f wake-ups/s\n",
                quiet, hidden[0].cpuPercent, hidden[0].worstThreadWakeups);
        }
        Stop(reference);
        Stop(program);
    }

    // 3. Memory over 20 page turns between the category page's two pages.
    {
        auto program = StartProgram(MakeHome(homes, "memory", server.BaseUrl()), "1");
        SecondsToLine(*program, "probe page-complete", Clock::now(), 30s); // the home page
        const std::string window = MainWindow();
        Click(window, 85, 147); // the left bar's categories
        SecondsToLine(*program, "probe page-complete", Clock::now(), 30s);
        const long first = ResidentKiB(program->Pid());
        int turned = 0;
        for (int turn = 0; turn < 20; ++turn) {
            Click(window, turn % 2 == 0 ? 787 : 632, 648); // next page, previous page
            if (SecondsToLine(*program, "probe page-complete", Clock::now(), 20s) >= 0)
                ++turned;
        }
        const long after = ResidentKiB(program->Pid());
        std::printf("memory: %ld KiB after the first page, %ld KiB after %d page turns: ratio %.2f (target "
                    "<= 1.50)\n",
                    first, after, turned, static_cast<double>(after) / static_cast<double>(first));
        Stop(program);
    }

    // 4. Latency with a server that takes connections and never answers.
    {
        const int stalled = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (stalled < 0 || ::bind(stalled, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(stalled, 512) != 0 ||
            ::getsockname(stalled, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
            return 1;
        }
        const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        auto program = StartProgram(MakeHome(homes, "stalled", url), "latency");
        auto reference = StartBare("latency");
        SecondsToLine(*program, "probe first-paint", Clock::now(), 30s);
        const std::string window = MainWindow();
        Click(window, 85, 147); // the left bar's categories open with their systems
        // Systems of the left bar, one after another, each asking the stalled server for a list.
        const int systems[][2] = {{46, 221}, {124, 221}, {46, 255}, {124, 255}, {46, 289}, {124, 289},
                                  {46, 323}, {124, 323}, {46, 357}, {124, 357}, {46, 391}, {124, 391}};
        const auto start = Clock::now();
        for (int round = 0; Clock::now() - start < 10s; ++round) {
            Click(window, systems[round % 12][0], systems[round % 12][1]);
            std::this_thread::sleep_for(250ms);
        }
        std::string programLine, referenceLine;
        SecondsToLine(*program, "probe latency", Clock::now(), 10s, &programLine);
        SecondsToLine(*program, "probe latency", Clock::now(), 10s, &programLine); // the spell with clicks
        SecondsToLine(*reference, "probe latency", Clock::now(), 10s, &referenceLine);
        std::printf(
            "stalled server, clicking through systems: ravelo %s; bare window %s (target p99 < 50 ms)\n",
            programLine.c_str() + 6, referenceLine.c_str() + 6);
        Stop(reference);
        Stop(program);
        ::close(stalled);
    }
    return 0;
}
