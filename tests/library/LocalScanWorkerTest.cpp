// The background import: files appearing in watched folders, and the slow rescan where a folder
// cannot be watched.
#include "library/LocalScanWorker.h"
#include "library/CMyGameStore.h"
#include "library/LibraryFixture.h"
#include "library/LocalGameMessages.h"
#include "platform/FolderWatcher.h"
#include "platform/MessageQueue.h"

#include <fcntl.h>
#include <unistd.h>

namespace ravelo::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class ScanWorker : public LibraryFixture
{
protected:
    std::unique_ptr<LocalGame> NextImport(MessageQueue& window)
    {
        std::optional<Message> message = window.WaitFor(UM_LOCAL_GAME_IMPORTED, 10s);
        return message ? message->TakePayload<LocalGame>() : nullptr;
    }
};

TEST_F(ScanWorker, ImportsFilesAsTheyAppearInWatchedFoldersOnce)
{
    CreateSystemFolders(SystemCodes);
    const std::string early = MakeFile(LocalGameFolder() + "FC/Early.nes");
    MessageQueue window;
    CMyGameStore store(*m_database);
    LocalScanWorker worker(store, 1h); // a rescan would make this test time out: watching must do
    ASSERT_TRUE(worker.Start(window.Handle()));
    EXPECT_FALSE(worker.Start(window.Handle()));

    std::unique_ptr<LocalGame> game = NextImport(window);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->FilePath, early);
    EXPECT_TRUE(worker.IsWatchingAll());

    // Written in two steps, as a copy does: imported when closed, with its whole size.
    const std::string copied = LocalGameFolder() + "FC/洛克人 2 (中文).nes";
    const int fd = ::open(copied.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const std::string half(786432, 'h');
    ASSERT_EQ(::write(fd, half.data(), half.size()), ssize_t(half.size()));
    ASSERT_EQ(::write(fd, half.data(), half.size()), ssize_t(half.size()));
    ::close(fd);
    game = NextImport(window);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->FilePath, copied);
    EXPECT_EQ(game->Size, "1.50");
    EXPECT_EQ(game->GameName, u"洛克人 2 (中文)");

    // A folder made after the start, with a game inside, moved in whole.
    TempFolder staging;
    MakeFile(staging / "set/deep/Tetris.gb");
    fs::rename(staging / "set", LocalGameFolder() + "GBA/set");
    game = NextImport(window);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->FilePath, LocalGameFolder() + "GBA/set/deep/Tetris.gb");
    EXPECT_EQ(game->EmulatorId, "120");

    // A new sub-folder, then a file in it; a file of another kind is ignored; a symbolic link counts.
    MakeFile(LocalGameFolder() + "MD/new/readme.txt");
    const std::string sonic = MakeFile(LocalGameFolder() + "MD/new/Sonic.md");
    game = NextImport(window);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->FilePath, sonic);
    fs::create_symlink(sonic, LocalGameFolder() + "MD/Sonic link.bin");
    game = NextImport(window);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->FileName, "Sonic link.bin");

    // Vanished files stay in the library.
    fs::remove(early);
    worker.Stop();
    EXPECT_EQ(window.Pending(), 0u); // nothing imported twice
    EXPECT_EQ(worker.FullScanCount(), 1);
    EXPECT_TRUE(store.HasLocalGame(early));
    EXPECT_EQ(DatabaseRows().size(), 5u);
}

TEST_F(ScanWorker, RescansSlowlyWhereAFolderCannotBeWatched)
{
    // Only some system folders exist, so watching is incomplete and the rescan period applies.
    MessageQueue window;
    CMyGameStore store(*m_database);
    LocalScanWorker worker(store, 50ms);
    ASSERT_TRUE(worker.Start(window.Handle()));
    const std::string later = MakeFile(LocalGameFolder() + "SFC/Later.sfc");
    std::unique_ptr<LocalGame> game = NextImport(window);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->FilePath, later);
    EXPECT_EQ(game->EmulatorId, "121");
    EXPECT_FALSE(worker.IsWatchingAll());
    worker.Stop();
    EXPECT_GE(worker.FullScanCount(), 1);
    EXPECT_EQ(window.Pending(), 0u);
    EXPECT_EQ(DatabaseRows().size(), 1u);
}

TEST_F(ScanWorker, FollowsTheGamesFolderWhenItChanges)
{
    CreateSystemFolders(SystemCodes);
    MessageQueue window;
    CMyGameStore store(*m_database);
    LocalScanWorker worker(store, 1h);
    ASSERT_TRUE(worker.Start(window.Handle()));
    const std::string old = MakeFile(LocalGameFolder() + "FC/Old.nes");
    std::unique_ptr<LocalGame> game = NextImport(window);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->FilePath, old);

    // Another games folder, with a game already there and one that arrives later.
    TempFolder other;
    ApplyGamesFolder(other / "Games/");
    CreateSystemFolders(SystemCodes);
    const std::string waiting = MakeFile(LocalGameFolder() + "GBA/Waiting.gba");
    worker.GamesFolderChanged();
    game = NextImport(window);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->FilePath, waiting);
    ASSERT_TRUE(worker.IsWatchingAll());
    const std::string arriving = MakeFile(LocalGameFolder() + "FC/Arriving.nes");
    game = NextImport(window);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->FilePath, arriving);

    // The old folder is no longer watched: a file made there before one in the new folder is not
    // imported, while the later one is.
    MakeFile(m_root / "games/LocalGame/FC/Forgotten.nes");
    const std::string last = MakeFile(LocalGameFolder() + "FC/Last.nes");
    game = NextImport(window);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->FilePath, last);
    worker.Stop();
    EXPECT_FALSE(store.HasLocalGame(m_root / "games/LocalGame/FC/Forgotten.nes"));
    EXPECT_EQ(window.Pending(), 0u);
}

TEST(FolderWatcherTest, StopWakesAWaitWithoutLimit)
{
    TempFolder folder;
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.IsValid());
    EXPECT_TRUE(watcher.AddTree(folder.Path()));
    EXPECT_FALSE(watcher.AddTree(folder / "missing"));
    std::thread stopper([&] { watcher.Stop(); });
    std::vector<FolderWatcher::Event> events;
    EXPECT_EQ(watcher.Wait(events, -1), FolderWatcher::WaitResult::Stopped);
    stopper.join();
    EXPECT_EQ(watcher.Wait(events, -1), FolderWatcher::WaitResult::Stopped);
}

} // namespace
} // namespace ravelo::test
