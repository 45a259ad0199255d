// Who hears of the engine's work (the installed-game sink, tile listeners, count watchers) and how the
// engine ends.
#include "DownloadFixture.h"

#include "service/HttpTransport.h"
#include "support/FileText.h"

#include <filesystem>
#include <future>

using namespace ravelo;
using namespace ravelo::test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::string ServerAnswer(const std::string& url)
{
    return R"({"status":1,"fileurl":")" + url + R"(","filename":"game.zip","cloudurl":{"baidu":[]}})";
}

class RecordingSink final : public InstalledGameSink
{
public:
    void GameInstalled(const Gameinfo& game) override
    {
        std::lock_guard guard(lock);
        games.push_back(game);
    }
    std::vector<Gameinfo> Games()
    {
        std::lock_guard guard(lock);
        return games;
    }

private:
    std::mutex lock;
    std::vector<Gameinfo> games;
};

/// The statuses a tile was told, in order; stops at Installed, or at nothing more within the wait.
std::vector<TaskStatus> ItemStates(MessageQueue& tile, std::chrono::milliseconds wait)
{
    std::vector<TaskStatus> states;
    while (auto message = tile.Wait(wait)) {
        if (message->id != UM_ITEM_STATE)
            continue;
        states.push_back(StatusFromWParam(message->wParam));
        if (states.back() == TaskStatus::Installed)
            break;
    }
    return states;
}

int ThreadCount()
{
    return static_cast<int>(
        std::distance(fs::directory_iterator("/proc/self/task"), fs::directory_iterator()));
}

} // namespace

TEST_F(DownloadFixture, TheEngineRecordsWhatItInstallsAndTellsOnlyTheTilesThatListen)
{
    m_server.Put("3101.zip", MakeArchive("3101"));
    SetAnswer("3101", ServerAnswer(m_server.FileUrl("3101.zip")));
    RecordingSink sink;
    m_sink = &sink;
    MakeEngine();
    MessageQueue tile, removedTile;
    auto closedTile = std::make_unique<MessageQueue>();
    Engine().AddListener(tile.Handle(), "3101", 1);
    Engine().AddListener(removedTile.Handle(), "3101", 2);
    Engine().AddListener(closedTile->Handle(), "3101", 3);
    Engine().RemoveListener(removedTile.Handle(), "3101", 2);
    Engine().RemoveListener(tile.Handle(), "3101", 99); // another cookie: not this listener
    closedTile.reset();                                 // its window went away

    ASSERT_EQ(Engine().AddTask(Game("3101"), 0), AddTaskResult::Added);
    const std::vector<TaskStatus> states = ItemStates(tile, 20s);
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.front(), TaskStatus::Downloading);
    EXPECT_EQ(states.back(), TaskStatus::Installed);
    EXPECT_EQ(removedTile.Pending(), 0u);

    const std::vector<Gameinfo> recorded = sink.Games();
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].GameId, "3101");
    EXPECT_EQ(recorded[0].FilePath, GameFolder("3101"));
    EXPECT_EQ(recorded[0].FileName, "game.zip");
    EXPECT_EQ(recorded[0].GameName, u"测试游戏 3101");
    EXPECT_EQ(InstalledGames(), recorded); // the same record as the library database's
}

TEST_F(DownloadFixture, TheDownloadCountIsPostedAtOnceAndThenOnlyWhenItChanges)
{
    for (const std::string id : {"3201", "3202"}) {
        m_server.Put(id + ".zip", MakeArchive(id, 20000));
        m_server.CloseGate(id + ".zip", 1000);
        SetAnswer(id, ServerAnswer(m_server.FileUrl(id + ".zip")));
    }
    MakeEngine();
    MessageQueue mainWindow;
    Engine().AddCountWatcher(mainWindow.Handle());
    const auto nextCount = [&]() -> int {
        auto message = mainWindow.WaitFor(UM_DOWNLOAD_COUNT, 20s);
        return message ? static_cast<int>(message->wParam) : -1;
    };
    EXPECT_EQ(mainWindow.Pending(), 1u); // posted on registration, before any change
    EXPECT_EQ(nextCount(), 0);

    ASSERT_EQ(Engine().AddTask(Game("3201"), 0), AddTaskResult::Added);
    EXPECT_EQ(nextCount(), 1);
    ASSERT_EQ(Engine().AddTask(Game("3202"), 0), AddTaskResult::Added);
    EXPECT_EQ(nextCount(), 2);
    ASSERT_TRUE(m_server.WaitAtGate(2));
    EXPECT_EQ(mainWindow.Pending(), 0u); // progress is no change of the count

    ASSERT_TRUE(Engine().SetCommand("3201", TaskCommand::Stop));
    EXPECT_EQ(nextCount(), 1);
    MessageQueue secondWindow;
    Engine().AddCountWatcher(secondWindow.Handle());
    EXPECT_EQ(secondWindow.WaitFor(UM_DOWNLOAD_COUNT, 0ms)->wParam, 1u);

    Engine().RemoveCountWatcher(mainWindow.Handle());
    m_server.ReleaseGate();
    ASSERT_TRUE(WaitForTaskLeft("3202"));
    EXPECT_EQ(secondWindow.WaitFor(UM_DOWNLOAD_COUNT, 20s)->wParam, 0u);
    EXPECT_EQ(mainWindow.Pending(), 0u); // no longer watching
}

TEST_F(DownloadFixture, ShutdownStopsEveryTransferAndJoinsEveryThreadOnce)
{
    m_server.Put("3301.zip", MakeArchive("3301", 300000));
    m_server.Put("3302.zip", MakeArchive("3302", 300000));
    m_server.CloseGate("3301.zip", 100000);
    SetAnswer("3301", ServerAnswer(m_server.FileUrl("3301.zip")));
    SetAnswer("3302", ServerAnswer(m_server.FileUrl("3302.zip")));
    GetContentLength(m_server.FileUrl("3302.zip")); // the server's own threads are all there now
    const int threadsBefore = ThreadCount();

    MakeEngine(1);
    MessageQueue mainWindow;
    Engine().AddCountWatcher(mainWindow.Handle());
    ASSERT_EQ(Engine().AddTask(Game("3301"), 0), AddTaskResult::Added);
    ASSERT_TRUE(m_server.WaitAtGate());
    ASSERT_TRUE(WaitForFileSize(GameFolder("3301") + "game.zip", 100000));
    ASSERT_EQ(Engine().AddTask(Game("3302"), 0), AddTaskResult::Added);
    ASSERT_NE(WaitForState("3302", TaskStatus::Waiting), nullptr);
    EXPECT_GT(ThreadCount(), threadsBefore);

    auto shutdown = std::async(std::launch::async, [&] { Engine().Shutdown(); });
    ASSERT_EQ(shutdown.wait_for(20s), std::future_status::ready);
    EXPECT_EQ(ThreadCount(), threadsBefore);
    Engine().Shutdown(); // again: nothing left to do

    EXPECT_EQ(Engine().AddTask(Game("3303"), 0), AddTaskResult::NotStarted);
    EXPECT_FALSE(Engine().Start(m_window.Handle(), m_window.Handle()));
    EXPECT_TRUE(Engine().Tasks().empty());
    int lastCount = -1;
    while (auto message = mainWindow.Wait(0ms))
        if (message->id == UM_DOWNLOAD_COUNT)
            lastCount = static_cast<int>(message->wParam);
    EXPECT_EQ(lastCount, 0);

    // The rows stay, with what reached the disk, for the next start to resume.
    const DownloadMap saved = SavedDownloads();
    ASSERT_EQ(saved.count("3301"), 1u);
    EXPECT_EQ(saved.at("3301").CurrentSize, "0.10");
    EXPECT_EQ(saved.count("3302"), 1u);
    EXPECT_EQ(fs::file_size(GameFolder("3301") + "game.zip"), 100000u);
}
