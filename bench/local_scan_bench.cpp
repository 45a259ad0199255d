// A tree of 100,000 files across the per-system folders (a tenth of them not games). First one full
// scan against `find DIR -type f` on the same tree, best of five each, with their ratio (target
// under 3). Then the scan worker imports the tree, and the CPU the process uses over the next 10 s
// of an idle, watched library is measured (target under 1% of a core).
#include "library/CMyGameStore.h"
#include "library/LocalGameFiles.h"
#include "library/LocalScanWorker.h"
#include "settings/AppPaths.h"
#include "store/LibraryDatabase.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace ravelo;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

constexpr int FileCount = 100000;
constexpr int FilesPerFolder = 250;
constexpr int Rounds = 5;

double Seconds(Clock::duration elapsed)
{
    return std::chrono::duration<double>(elapsed).count();
}

double ProcessCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::vector<std::string> ScannedCodes()
{
    std::vector<std::string> codes;
    std::stringstream list(SystemCodes);
    for (std::string code; std::getline(list, code, ',');)
        if (!ExtensionListOf(code).empty())
            codes.push_back(code);
    return codes;
}

// Returns the number of game files made.
int MakeTree(const std::string& localGameFolder)
{
    const std::vector<std::string> codes = ScannedCodes();
    int games = 0;
    for (int i = 0; i < FileCount; ++i) {
        const std::string& code = codes[std::size_t(i) % codes.size()];
        const std::string list = ExtensionListOf(code);
        const std::string extension = i % 10 == 9 ? ".txt" : list.substr(0, list.find(','));
        const std::string folder =
            localGameFolder + code + "/set " + std::to_string(i / int(codes.size()) / FilesPerFolder) + "/";
        if (i < int(codes.size()) * FilesPerFolder)
            fs::create_directories(folder);
        else if (i / int(codes.size()) % FilesPerFolder == 0)
            fs::create_directories(folder);
        std::ofstream(folder + "game " + std::to_string(i) + extension);
        games += extension != ".txt";
    }
    return games;
}

double BestOf(const std::function<void()>& run)
{
    double best = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        const auto start = Clock::now();
        run();
        best = std::min(best, Seconds(Clock::now() - start));
    }
    return best;
}

} // namespace

int main()
{
    const std::string root =
        (fs::temp_directory_path() / ("ravelo-scan-bench-" + std::to_string(::getpid()))).string() + "/";
    fs::create_directories(root);
    InstanceFolder = root + "program/";
    ArcadeImageFolder = root + "cache/arcade/";
    MameImageFolder = root + "cache/mame/";
    ApplyGamesFolder(root + "games/");
    CreateSystemFolders(SystemCodes);

    std::printf("making %d files under %s ...\n", FileCount, LocalGameFolder().c_str());
    const int games = MakeTree(LocalGameFolder());

    std::size_t found = 0;
    const std::string find = "find '" + LocalGameFolder() + "' -type f > /dev/null";
    if (std::system(find.c_str()) != 0) { // warm the cache for both sides
        std::fprintf(stderr, "find failed\n");
        return 1;
    }
    const double findSeconds = BestOf([&] { [[maybe_unused]] const int code = std::system(find.c_str()); });
    const double scanSeconds = BestOf([&] { found = ScanSystemFolders(0).size(); });
    std::printf("full scan: %.1f ms for %zu games (expected %d); find -type f: %.1f ms; ratio %.2f "
                "(target < 3)\n",
                scanSeconds * 1000, found, games, findSeconds * 1000, scanSeconds / findSeconds);

    double idleCpu = 0;
    {
        LibraryDatabase database(root + "program/database/ravelo.db");
        CMyGameStore store(database);
        LocalScanWorker worker(store);
        const auto start = Clock::now();
        worker.Start(0);
        while (worker.FullScanCount() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(50)); // only the benchmark polls
        std::vector<LocalGame> rows;
        database.PostWait(DbOperation::LoadLocalGames, &rows);
        std::printf("first import: %zu games in %.2f s, every system folder watched: %s\n", rows.size(),
                    Seconds(Clock::now() - start), worker.IsWatchingAll() ? "yes" : "no");

        const double cpuBefore = ProcessCpuSeconds();
        const auto idleStart = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const double wall = Seconds(Clock::now() - idleStart);
        idleCpu = (ProcessCpuSeconds() - cpuBefore) / wall;
        worker.Stop();
    }
    std::printf("idle watcher: %.4f%% of a core over 10 s (target < 1%%)\n", idleCpu * 100);
    std::error_code ignored;
    fs::remove_all(root, ignored);
    return 0;
}
