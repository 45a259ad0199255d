#include "download/DownloadNotifier.h"
#include "download/DownloadMessages.h"
#include "platform/MessageQueue.h"

#include <gtest/gtest.h>

using namespace ravelo;
using namespace std::chrono_literals;

namespace {

/// Every message waiting in the queue: (id, wParam, cookie when it carries one).
std::vector<std::tuple<std::uint32_t, std::uintptr_t, std::uintptr_t>> Drain(MessageQueue& queue)
{
    std::vector<std::tuple<std::uint32_t, std::uintptr_t, std::uintptr_t>> messages;
    while (auto message = queue.Wait(0ms)) {
        const auto cookie = message->TakePayload<ItemStateCookie>();
        messages.emplace_back(message->id, message->wParam, cookie ? cookie->cookie : 0);
    }
    return messages;
}

} // namespace

TEST(DownloadNotifierTest, ListenersHearTheirGameUntilRemovedOrGone)
{
    DownloadNotifier notifier;
    MessageQueue tile, otherTile;
    auto closedTile = std::make_unique<MessageQueue>();
    notifier.AddListener(tile.Handle(), "1001", 7);
    notifier.AddListener(tile.Handle(), "1001", 8);
    notifier.AddListener(otherTile.Handle(), "1002", 9);
    notifier.AddListener(closedTile->Handle(), "1001", 10);
    closedTile.reset();

    notifier.NotifyListeners("1001", TaskStatus::Downloading);
    using Tuple = std::tuple<std::uint32_t, std::uintptr_t, std::uintptr_t>;
    EXPECT_EQ(Drain(tile), (std::vector<Tuple>{{UM_ITEM_STATE, 2, 7}, {UM_ITEM_STATE, 2, 8}}));
    EXPECT_TRUE(Drain(otherTile).empty());
    EXPECT_EQ(notifier.ListenerCount(), 3u); // the one whose window is gone was dropped

    notifier.RemoveListener(tile.Handle(), "1001", 8);
    notifier.RemoveListener(tile.Handle(), "1002", 7);      // another game: not that listener
    notifier.RemoveListener(otherTile.Handle(), "1001", 7); // another window: not that listener
    notifier.NotifyListeners("1001", TaskStatus::Installed);
    EXPECT_EQ(Drain(tile), (std::vector<Tuple>{{UM_ITEM_STATE, 8, 7}}));
    EXPECT_EQ(notifier.ListenerCount(), 2u);
}

TEST(DownloadNotifierTest, ATilesGameProgressReachesOnlyItsListeners)
{
    DownloadNotifier notifier;
    MessageQueue tile, otherTile;
    notifier.AddListener(tile.Handle(), "1001", 7);
    notifier.AddListener(otherTile.Handle(), "1002", 9);
    DownloadProgress progress;
    progress.gameId = "1001";
    progress.done = 512;
    progress.total = 2048;
    progress.state = TaskStatus::Downloading;
    notifier.NotifyProgress(progress);
    auto message = tile.Wait(0ms);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->id, UM_DOWNLOAD_PROGRESS);
    const auto copy = message->TakePayload<DownloadProgress>();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->done, 512);
    EXPECT_EQ(copy->total, 2048);
    EXPECT_FALSE(otherTile.Wait(0ms));
}

TEST(DownloadNotifierTest, CountWatchersGetTheCountAtOnceAndThenEachChange)
{
    DownloadNotifier notifier;
    MessageQueue mainWindow, lateWindow;
    notifier.AddCountWatcher(mainWindow.Handle(), 0);
    notifier.PostCount(0);
    notifier.PostCount(2);
    notifier.PostCount(2);
    notifier.AddCountWatcher(lateWindow.Handle(), 2);
    notifier.PostCount(1);
    using Tuple = std::tuple<std::uint32_t, std::uintptr_t, std::uintptr_t>;
    EXPECT_EQ(Drain(mainWindow),
              (std::vector<Tuple>{
                  {UM_DOWNLOAD_COUNT, 0, 0}, {UM_DOWNLOAD_COUNT, 2, 0}, {UM_DOWNLOAD_COUNT, 1, 0}}));
    EXPECT_EQ(Drain(lateWindow), (std::vector<Tuple>{{UM_DOWNLOAD_COUNT, 2, 0}, {UM_DOWNLOAD_COUNT, 1, 0}}));

    notifier.AddCountWatcher(mainWindow.Handle(), 1); // once per window: registering again repeats the count
    EXPECT_EQ(notifier.CountWatcherCount(), 2u);
    notifier.RemoveCountWatcher(lateWindow.Handle());
    {
        MessageQueue closing;
        notifier.AddCountWatcher(closing.Handle(), 1);
    }
    notifier.PostCount(3);
    EXPECT_EQ(Drain(mainWindow), (std::vector<Tuple>{{UM_DOWNLOAD_COUNT, 1, 0}, {UM_DOWNLOAD_COUNT, 3, 0}}));
    EXPECT_TRUE(Drain(lateWindow).empty());
    EXPECT_EQ(notifier.CountWatcherCount(), 1u); // the closed window's watcher was dropped
}
