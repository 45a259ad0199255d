// 10,000 non-waiting "add local game" commands and one waiting load through the library
// database, against the same rows inserted straight through a prepared statement in one
// transaction. Each side writes a fresh file in a temporary folder; the medians of five rounds
// and their ratio are printed. Targets: the queue under 1 s, the ratio under 5.
#include "store/LibraryDatabase.h"
#include "store/LibraryRows.h"
#include "store/LibrarySchema.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <string>
#include <vector>

using namespace ravelo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int RowCount = 10000;
constexpr int Rounds = 5;

LocalGame Row(int i)
{
    LocalGame game;
    game.GameName = u"超级马里奥兄弟 " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
    game.Icon = "icon.png";
    game.Size = "40960";
    game.EmulatorShortName = "FC";
    game.IsPlay = "0";
    game.FilePath = "/home/user/roms/FC/game-" + std::to_string(i) + ".nes";
    game.FileName = "game-" + std::to_string(i) + ".nes";
    game.EmulatorId = "125";
    game.PlayUrl = "";
    return game;
}

bool Check(int result, sqlite3* db)
{
    if (result == SQLITE_OK || result == SQLITE_DONE)
        return true;
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
}

// The same file set-up as the library (WAL, NORMAL sync, same table), then one prepared insert
// reused for every row inside one transaction.
double DirectInsert(const std::string& path, const std::vector<std::vector<std::string>>& rows)
{
    sqlite3* db = nullptr;
    Check(sqlite3_open(path.c_str(), &db), db);
    Check(sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr),
          db);
    {
        CppSQLite3DB schema;
        schema.open(path);
        LibrarySchema::CreateOrMigrate(schema);
    }
    const auto start = Clock::now();
    const std::string sql = LibraryRows::InsertStatement(LibraryRows::LocalGameTable());
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr), db);
    Check(sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr), db);
    for (const auto& values : rows) {
        for (std::size_t k = 0; k < values.size(); ++k)
            sqlite3_bind_text(insert, static_cast<int>(k) + 1, values[k].data(),
                              static_cast<int>(values[k].size()), SQLITE_TRANSIENT);
        Check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    Check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return seconds;
}

double ThroughQueue(const std::string& path, std::vector<LocalGame> games)
{
    LibraryDatabase db(path);
    if (!db.IsReady()) {
        std::fprintf(stderr, "library database: %s\n", db.OpenError().c_str());
        std::exit(1);
    }
    std::vector<LocalGame> loaded;
    const auto start = Clock::now();
    for (auto& game : games)
        db.Post(DbOperation::AddLocalGame, std::move(game));
    if (!db.PostWait(DbOperation::LoadLocalGames, &loaded) || loaded.size() != RowCount) {
        std::fprintf(stderr, "the queue lost rows: %zu of %d\n", loaded.size(), RowCount);
        std::exit(1);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    const auto folder =
        std::filesystem::temp_directory_path() / ("ravelo-store-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);

    std::vector<LocalGame> games;
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < RowCount; ++i) {
        games.push_back(Row(i));
        rows.push_back(LibraryRows::Values(games.back()));
    }

    std::vector<double> direct;
    std::vector<double> queued;
    for (int round = 0; round < Rounds; ++round) {
        const std::string tag = std::to_string(round);
        direct.push_back(DirectInsert((folder / ("direct" + tag + ".db")).string(), rows));
        queued.push_back(ThroughQueue((folder / ("queue" + tag + ".db")).string(), games));
    }
    std::filesystem::remove_all(folder);

    const double reference = Median(direct);
    const double measured = Median(queued);
    std::printf("store_queue_bench: %d rows, median of %d rounds\n", RowCount, Rounds);
    std::printf("  direct prepared inserts, one transaction: %8.2f ms\n", reference * 1000);
    std::printf("  queue: %d non-waiting posts + waiting load: %8.2f ms  (target < 1000 ms)\n", RowCount,
                measured * 1000);
    std::printf("  ratio queue / direct: %.2f  (target < 5)\n", measured / reference);
    return 0;
}
