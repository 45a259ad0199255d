// The picture queue measured in one run against what a page could do without it:
//   1. 800 requests over 400 distinct pictures (each asked for by two windows) from a loopback server,
//      against 10 plain threads fetching the same 400 pictures with DownloadFile (target >= 0.9 of
//      their rate), with sequential DownloadFile calls printed for scale;
//   2. the queue's CPU time while it sits idle afterwards, from /proc/self/task/*/stat (target ~0).
// Usage: picture_queue_bench [rounds]   (default 5; the best round of each kind counts)
#include "platform/FileSystem.h"
#include "platform/MessageQueue.h"
#include "service/HttpTransport.h"
#include "service/PictureQueue.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <curl/curl.h>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kPictures = 400;
constexpr int kRequests = 800;
constexpr int kThreads = 10;
constexpr std::size_t kPictureBytes = 8 * 1024;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double CpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

/// Wall time and process CPU time of one round.
struct Cost
{
    double wall = 1e9;
    double cpu = 1e9;
};

template <typename Round>
void Measure(Cost& best, Round round)
{
    const double cpuBefore = CpuSeconds();
    const double wall = round();
    const double cpu = CpuSeconds() - cpuBefore;
    if (wall < best.wall)
        best = Cost{wall, cpu};
}

std::string Address(int picture)
{
    return "/pic/icon/" + std::to_string(picture) + ".png";
}

/// A fresh, empty cache folder for one round.
std::string FreshCache(const std::string& work, const std::string& name)
{
    const std::string folder = work + name + "/";
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

double SequentialRound(const std::string& host, const std::string& cache)
{
    const auto start = Clock::now();
    for (int i = 0; i < kPictures; ++i)
        if (ravelo::DownloadFile(host + Address(i), cache + Address(i).substr(1)) != 1)
            std::fprintf(stderr, "sequential download %d failed\n", i);
    return Seconds(start);
}

double ThreadsRound(const std::string& host, const std::string& cache)
{
    std::atomic<int> next{0};
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = next++; i < kPictures; i = next++)
                if (ravelo::DownloadFile(host + Address(i), cache + Address(i).substr(1)) != 1)
                    std::fprintf(stderr, "threaded download %d failed\n", i);
        });
    }
    for (auto& thread : threads)
        thread.join();
    return Seconds(start);
}

double QueueRound(const std::string& host, const std::string& cache)
{
    ravelo::PictureQueue::Options options;
    options.cacheFolder = cache;
    options.pictureHost = host;
    options.maxRunning = kThreads;
    ravelo::PictureQueue queue(std::move(options));
    ravelo::MessageQueue page;
    ravelo::MessageQueue detail;
    const auto start = Clock::now();
    for (int i = 0; i < kRequests; ++i)
        queue.Request(i % 2 ? detail.Handle() : page.Handle(), i, Address(i / 2 % kPictures));
    // Every result is posted before the queue is idle; the windows then read them all. (Reading each
    // one as it arrives would time this thread's wake-ups on a busy machine, not the queue.)
    if (!queue.WaitUntilIdle(std::chrono::seconds(60))) {
        std::fprintf(stderr, "the queue did not finish\n");
        std::exit(1);
    }
    int failed = 0;
    int received = 0;
    for (ravelo::MessageQueue* window : {&page, &detail}) {
        while (auto message = window->Wait(std::chrono::milliseconds(0))) {
            auto result = message->TakePayload<ravelo::PictureResult>();
            received += result != nullptr;
            failed += result && result->failed;
        }
    }
    if (received != kRequests) {
        std::fprintf(stderr, "%d results for %d requests\n", received, kRequests);
        std::exit(1);
    }
    const double seconds = Seconds(start);
    if (failed != 0)
        std::fprintf(stderr, "%d pictures failed\n", failed);
    return seconds;
}

/// CPU time (user + system, in clock ticks) of every thread of this process, by thread id.
std::vector<std::pair<int, long long>> ThreadTicks()
{
    std::vector<std::pair<int, long long>> ticks;
    DIR* tasks = ::opendir("/proc/self/task");
    if (!tasks)
        return ticks;
    while (const dirent* entry = ::readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream in(std::string("/proc/self/task/") + entry->d_name + "/stat");
        std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // The name in parentheses may hold spaces: fields are counted after the last ')'.
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream fields(stat.substr(close + 2));
        std::string field;
        long long utime = 0;
        long long stime = 0;
        for (int index = 3; fields >> field; ++index) { // the first field after ')' is the 3rd, state
            if (index == 14)
                utime = std::atoll(field.c_str());
            if (index == 15) {
                stime = std::atoll(field.c_str());
                break;
            }
        }
        ticks.emplace_back(std::atoi(entry->d_name), utime + stime);
    }
    ::closedir(tasks);
    return ticks;
}

long long TotalTicks()
{
    long long total = 0;
    for (const auto& [tid, ticks] : ThreadTicks())
        total += ticks;
    return total;
}

void BenchIdle(const std::string& host, const std::string& work, httplib::Server& server,
               std::thread& listener)
{
    ravelo::PictureQueue::Options options;
    options.cacheFolder = FreshCache(work, "idle");
    options.pictureHost = host;
    ravelo::PictureQueue queue(std::move(options));
    ravelo::MessageQueue page;
    for (int i = 0; i < kRequests; ++i)
        queue.Request(page.Handle(), i, Address(i / 2 % kPictures));
    if (!queue.WaitUntilIdle(std::chrono::seconds(60))) {
        std::fprintf(stderr, "the queue did not become idle\n");
        std::exit(1);
    }
    // Only the queue's own threads and this one are left to measure.
    server.stop();
    listener.join();
    constexpr int kSpan = 5;
    const long long before = TotalTicks();
    std::this_thread::sleep_for(std::chrono::seconds(kSpan));
    const long long after = TotalTicks();
    const double hz = static_cast<double>(::sysconf(_SC_CLK_TCK));
    const double percent = 100.0 * static_cast<double>(after - before) / hz / kSpan;
    std::printf("idle queue after %d requests: %zu threads in the process, %.3f%% of a core over %d s "
                "(%lld ticks of 1/%.0f s; target ~0)\n",
                kRequests, ThreadTicks().size(), percent, kSpan, after - before, hz);
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    curl_global_init(CURL_GLOBAL_DEFAULT);
    std::string work = ravelo::TemporaryFolder() + "ravelo-picture-bench-XXXXXX";
    if (!::mkdtemp(work.data()))
        return 1;
    work += "/";

    httplib::Server server;
    // More server threads than downloads at once, so the server is not what is measured.
    server.new_task_queue = [] { return new httplib::ThreadPool(2 * kThreads); };
    // The library listens with a backlog of 5: ten connections at once overflow it, and every dropped
    // connection attempt costs a second before it is tried again, which would swamp what is measured.
    // Widen it on the listening socket once the library has bound it.
    int listening = -1;
    server.set_socket_options([&](int sock) {
        httplib::default_socket_options(sock);
        listening = sock;
    });
    const std::string body = std::string("\x89PNG\r\n\x1A\n", 8) + std::string(kPictureBytes - 8, 'p');
    server.Get(R"(/pic/icon/\d+\.png)",
               [&](const httplib::Request&, httplib::Response& res) { res.set_content(body, "image/png"); });
    const int port = server.bind_to_any_port("127.0.0.1");
    if (port <= 0 || ::listen(listening, SOMAXCONN) != 0) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
        return 1;
    }
    std::thread listener([&] { server.listen_after_bind(); });
    while (!server.is_running())
        std::this_thread::yield();
    const std::string host = "http://127.0.0.1:" + std::to_string(port);

    Cost sequential;
    Cost threads;
    Cost queue;
    for (int round = 0; round < rounds; ++round) {
        Measure(sequential, [&] { return SequentialRound(host, FreshCache(work, "sequential")); });
        Measure(threads, [&] { return ThreadsRound(host, FreshCache(work, "threads")); });
        Measure(queue, [&] { return QueueRound(host, FreshCache(work, "queue")); });
    }
    std::printf(
        "%d pictures of %zu KiB from loopback, best of %d rounds (wall time, and the process's CPU time "
        "with the server's):\n",
        kPictures, kPictureBytes / 1024, rounds);
    std::printf("  sequential DownloadFile: %.3f s, cpu %.3f s (%.0f pictures/s)\n", sequential.wall,
                sequential.cpu, kPictures / sequential.wall);
    std::printf("  %d plain threads:        %.3f s, cpu %.3f s (%.0f pictures/s)\n", kThreads, threads.wall,
                threads.cpu, kPictures / threads.wall);
    std::printf("  queue, %d requests:     %.3f s, cpu %.3f s (%.0f pictures/s, %.0f results/s)\n", kRequests,
                queue.wall, queue.cpu, kPictures / queue.wall, kRequests / queue.wall);
    std::printf("queue / %d plain threads: ratio %.2f (target >= 0.90); queue / sequential: ratio %.2f\n",
                kThreads, threads.wall / queue.wall, sequential.wall / queue.wall);

    BenchIdle(host, work, server, listener);
    fs::remove_all(work);
    curl_global_cleanup();
    return 0;
}
