#include "StoreSamples.h"
#include "store/CppSQLite3DB.h"
#include "store/LibraryDatabase.h"
#include "support/TempFolder.h"

#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

using namespace ravelo;
using test::SampleDownload;
using test::SampleEmulator;
using test::SampleGame;
using test::SampleLocal;
using test::WaitUntil;

namespace {

int Count(CppSQLite3DB& db, const std::string& table)
{
    return db.execScalar("select count(1) from " + table + ";");
}

// A second connection that holds the file's write lock while the test arranges the queue: the
// worker's next write then waits inside SQLite (busy timeout) until the test lets go.
class WriteBlocker
{
public:
    explicit WriteBlocker(const std::string& path)
    {
        m_db.open(path);
        m_db.execDML("BEGIN IMMEDIATE;");
    }
    ~WriteBlocker() { Release(); }
    void Release()
    {
        if (m_db.inTransaction())
            m_db.execDML("COMMIT;");
    }
    CppSQLite3DB& Db() { return m_db; }

private:
    CppSQLite3DB m_db;
};

} // namespace

TEST(LibraryQueue, NonWaitingPostReturnsBeforeItsStatementRunsAndNeverBlocksBehindOne)
{
    test::TempFolder folder;
    const std::string path = folder / "ravelo.db";
    LibraryDatabase db(path);
    WriteBlocker blocker(path);

    db.Post(DbOperation::AddLocalGame, SampleLocal("/first"));
    // The worker has taken the command and is held inside its statement by the write lock.
    ASSERT_TRUE(WaitUntil([&] { return db.QueuedCount() == 0; }));
    for (int i = 0; i < 100; ++i)
        db.Post(DbOperation::AddLocalGame, SampleLocal("/queued/" + std::to_string(i)));
    EXPECT_EQ(db.QueuedCount(), 100u); // every post returned while a statement was running
    EXPECT_EQ(Count(blocker.Db(), "LocalGame"), 0);

    blocker.Release();
    std::vector<LocalGame> locals;
    ASSERT_TRUE(db.PostWait(DbOperation::LoadLocalGames, &locals));
    ASSERT_EQ(locals.size(), 101u);
    EXPECT_EQ(locals.front().FilePath, "/first");
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(locals[i + 1].FilePath, "/queued/" + std::to_string(i)); // first in, first out
}

TEST(LibraryQueue, LaterCommandsSeeEarlierOnesInTheSameBatch)
{
    test::TempFolder folder;
    const std::string path = folder / "ravelo.db";
    LibraryDatabase db(path);
    WriteBlocker blocker(path);
    db.Post(DbOperation::AddGame, SampleGame("hold"));
    ASSERT_TRUE(WaitUntil([&] { return db.QueuedCount() == 0; }));

    DownloadInfo download = SampleDownload("d");
    db.Post(DbOperation::AddDownload, download);
    download.CurrentSize = "42.00";
    db.Post(DbOperation::UpdateDownload, download);
    EmulatorInfo emulator = SampleEmulator("e");
    db.Post(DbOperation::AddEmulator, emulator);
    emulator.Version = "9";
    db.Post(DbOperation::UpdateEmulator, emulator);
    db.Post(DbOperation::AddGame, SampleGame("gone"));
    db.Post(DbOperation::RemoveGame, std::string("gone"));
    std::vector<Gameinfo> games;
    auto load = std::async(std::launch::async, [&] { return db.PostWait(DbOperation::LoadGames, &games); });
    ASSERT_TRUE(WaitUntil([&] { return db.QueuedCount() == 7; }));
    blocker.Release();

    ASSERT_TRUE(load.get());
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].GameId, "hold");
    DownloadMap downloads;
    std::vector<EmulatorInfo> emulators;
    ASSERT_TRUE(db.PostWait(DbOperation::LoadDownloads, &downloads));
    ASSERT_TRUE(db.PostWait(DbOperation::LoadEmulators, &emulators));
    EXPECT_EQ(downloads.at("d").CurrentSize, "42.00");
    ASSERT_EQ(emulators.size(), 1u);
    EXPECT_EQ(emulators[0].Version, "9");
}

TEST(LibraryQueue, AFailingCommandCompletesAloneAndTheWorkerGoesOn)
{
    test::TempFolder folder;
    const std::string path = folder / "ravelo.db";
    LibraryDatabase db(path);

    EXPECT_FALSE(db.PostWait(DbOperation::RunStatement, std::string("this is not sql")));
    EXPECT_TRUE(db.PostWait(DbOperation::AddLocalGame, SampleLocal("/after-bad-sql")));

    // Triggers make single inserts fail: one undoes only its own statement, the other rolls
    // back the whole transaction it runs in.
    ASSERT_TRUE(
        db.PostWait(DbOperation::RunStatement,
                    std::string("CREATE TRIGGER refuse BEFORE INSERT ON LocalGame WHEN NEW.FilePath = "
                                "'/refused' BEGIN SELECT RAISE(ABORT, 'refused'); END;"
                                "CREATE TRIGGER undo BEFORE INSERT ON LocalGame WHEN NEW.FilePath = "
                                "'/undo' BEGIN SELECT RAISE(ROLLBACK, 'undo'); END;")));
    EXPECT_FALSE(db.PostWait(DbOperation::AddLocalGame, SampleLocal("/refused")));

    // The same, batched: the worker is held while the group queues up behind it.
    WriteBlocker blocker(path);
    db.Post(DbOperation::AddLocalGame, SampleLocal("/held"));
    ASSERT_TRUE(WaitUntil([&] { return db.QueuedCount() == 0; }));
    db.Post(DbOperation::AddLocalGame, SampleLocal("/a"));
    auto refused = std::async(
        std::launch::async, [&] { return db.PostWait(DbOperation::AddLocalGame, SampleLocal("/refused")); });
    ASSERT_TRUE(WaitUntil([&] { return db.QueuedCount() == 2; }));
    db.Post(DbOperation::AddLocalGame, SampleLocal("/b"));
    auto undone = std::async(std::launch::async,
                             [&] { return db.PostWait(DbOperation::AddLocalGame, SampleLocal("/undo")); });
    ASSERT_TRUE(WaitUntil([&] { return db.QueuedCount() == 4; }));
    db.Post(DbOperation::AddLocalGame, SampleLocal("/c"));
    db.Post(DbOperation::RemoveGame, SampleGame("wrong kind")); // refused at once, never queued
    EXPECT_EQ(db.QueuedCount(), 5u);
    blocker.Release();

    EXPECT_FALSE(refused.get());
    EXPECT_FALSE(undone.get());
    std::vector<LocalGame> locals;
    ASSERT_TRUE(db.PostWait(DbOperation::LoadLocalGames, &locals));
    std::vector<std::string> paths;
    for (const auto& game : locals)
        paths.push_back(game.FilePath);
    EXPECT_EQ(paths, (std::vector<std::string>{"/after-bad-sql", "/held", "/a", "/b", "/c"}));
}

TEST(LibraryQueue, WrongArgumentsAreRefusedWithoutQueueing)
{
    test::TempFolder folder;
    LibraryDatabase db(folder / "ravelo.db");
    EXPECT_FALSE(db.PostWait(DbOperation::AddGame, SampleLocal("/x")));
    EXPECT_FALSE(db.PostWait(DbOperation::LoadGames));  // a load needs a container
    EXPECT_FALSE(db.PostWait(DbOperation::RemoveGame)); // needs its key
    EXPECT_FALSE(db.PostWait(DbOperation::AddGame, static_cast<DownloadMap*>(nullptr))); // not a load
    std::vector<LocalGame> locals;
    EXPECT_FALSE(db.PostWait(DbOperation::LoadGames, &locals)); // wrong container
    EXPECT_FALSE(db.PostWait(DbOperation::LoadLocalGames, static_cast<std::vector<LocalGame>*>(nullptr)));
    EXPECT_TRUE(db.PostWait(DbOperation::LoadLocalGames, &locals));
    EXPECT_TRUE(locals.empty());
}

TEST(LibraryQueue, ClientTransactionsRunBetweenBatches)
{
    test::TempFolder folder;
    LibraryDatabase db(folder / "ravelo.db");
    db.Post(DbOperation::BeginTransaction);
    db.Post(DbOperation::AddGame, SampleGame("1"));
    db.Post(DbOperation::AddGame, SampleGame("2"));
    ASSERT_TRUE(db.PostWait(DbOperation::CommitTransaction));
    EXPECT_TRUE(db.PostWait(DbOperation::CreateTables));
    std::vector<Gameinfo> games;
    ASSERT_TRUE(db.PostWait(DbOperation::LoadGames, &games));
    EXPECT_EQ(games.size(), 2u);
    EXPECT_FALSE(db.PostWait(DbOperation::CommitTransaction)); // none open
    EXPECT_TRUE(db.PostWait(DbOperation::AddGame, SampleGame("3")));
}

TEST(LibraryQueue, DestroyingRunsEverythingStillQueued)
{
    test::TempFolder folder;
    const std::string path = folder / "ravelo.db";
    auto db = std::make_unique<LibraryDatabase>(path);
    WriteBlocker blocker(path);
    db->Post(DbOperation::AddLocalGame, SampleLocal("/held"));
    ASSERT_TRUE(WaitUntil([&] { return db->QueuedCount() == 0; }));
    for (int i = 0; i < 200; ++i)
        db->Post(DbOperation::AddLocalGame, SampleLocal("/q" + std::to_string(i)));
    db->Post(DbOperation::RemoveLocalGame, std::string("/q0"));
    ASSERT_EQ(db->QueuedCount(), 201u);

    std::thread destroyer([&] { db.reset(); });
    blocker.Release();
    destroyer.join();

    CppSQLite3DB raw;
    raw.open(path);
    EXPECT_EQ(Count(raw, "LocalGame"), 200);
    EXPECT_EQ(raw.execScalar("select count(1) from LocalGame where FilePath = '/q0';"), 0);
}

TEST(LibraryQueue, AFileThatCannotBeOpenedFailsEveryCommandButWakesItsWaiter)
{
    test::TempFolder folder;
    LibraryDatabase db(folder.Path()); // a folder, not a file
    EXPECT_FALSE(db.IsReady());
    EXPECT_EQ(db.OpenError().rfind("SQLITE_CANTOPEN[14]: ", 0), 0u) << db.OpenError();
    EXPECT_FALSE(db.PostWait(DbOperation::AddGame, SampleGame("1")));
    std::vector<Gameinfo> games;
    EXPECT_FALSE(db.PostWait(DbOperation::LoadGames, &games));
    db.Post(DbOperation::AddGame, SampleGame("2")); // fails quietly; destruction still ends
}
