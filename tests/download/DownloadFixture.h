#pragma once

#include "TestFileServer.h"
#include "download/DownloadAddresses.h"
#include "download/DownloadManager.h"
#include "download/DownloadMessages.h"
#include "platform/MessageQueue.h"
#include "service/CDownLoadUrl.h"
#include "service/CGame.h"
#include "settings/AppPaths.h"
#include "store/LibraryDatabase.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"

#include <deque>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <set>

namespace ravelo {

/// Test failures show a status as its number.
inline void PrintTo(TaskStatus status, std::ostream* out)
{
    *out << "TaskStatus " << static_cast<int>(status);
}

} // namespace ravelo

namespace ravelo::test {

/// Answers the engine's questions the way a test tells it to.
class ScriptedPrompts final : public DownloadPrompts
{
public:
    int ChooseSource(WindowHandle, const DownloadInfo&, int offered) override
    {
        lastOffered = offered;
        return source;
    }
    bool AskCaptcha(const std::string& imagePath, std::string& code) override
    {
        std::lock_guard guard(lock);
        captchaImages.push_back(ReadImage(imagePath));
        if (codes.empty())
            return false;
        code = codes.front();
        codes.pop_front();
        return true;
    }
    static std::string ReadImage(const std::string& path);

    int source = kSourceServers;
    std::atomic<int> lastOffered{0};
    std::mutex lock;
    std::deque<std::string> codes;
    std::vector<std::string> captchaImages;
};

/// A download engine on a fresh library database, a games folder in a temporary folder, short
/// pauses, and download addresses taken from JSON texts the test registers per game.
class DownloadFixture : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Makes the engine (again, after DestroyEngine) and starts it.
    void MakeEngine(int maxRunning = 4);
    /// Where the engine records installed games besides the database (set before MakeEngine).
    InstalledGameSink* m_sink = nullptr;
    void DestroyEngine() { m_engine.reset(); }
    DownloadManager& Engine() { return *m_engine; }

    /// The download-address answer the catalogue gives for gameId.
    void SetAnswer(const std::string& gameId, const std::string& json);
    CGame Game(const std::string& gameId, const std::string& system = "FC") const;
    /// A zip holding "<gameId>.nes" with `size` bytes of game data; returns its bytes.
    std::string MakeArchive(const std::string& gameId, std::size_t size = 200000);

    /// Waits for a message about gameId: UM_DOWNLOAD_PROGRESS of a state, or UM_TASK_LEFT.
    std::unique_ptr<DownloadProgress> WaitForState(const std::string& gameId, TaskStatus state);
    bool WaitForTaskLeft(const std::string& gameId);
    /// Waits until every one of the games has left the engine, in any order.
    bool WaitForTasksLeft(std::set<std::string> gameIds);
    /// Waits for the listener message with this status.
    bool WaitForItemState(const std::string& gameId, TaskStatus status);
    /// Waits until the task leaves ("installed") or fails ("failed <code>: <text>"); "" on time-out.
    std::string WaitForOutcome(const std::string& gameId);

    /// Stores the row of an unfinished download of an earlier run (before MakeEngine).
    void SeedRow(const DownloadInfo& row);
    /// The row of a task in volumes from the program's servers, volume number -> address.
    DownloadInfo VolumeRow(const std::string& gameId, const std::map<int, std::string>& volumes) const;
    /// A stopped task kept to be deleted by PassBarrier (SeedBarrier before MakeEngine).
    void SeedBarrier();
    /// Returns once the scheduler has acted on every command given before: the barrier task sorts
    /// after every game, so the pass that deletes it has handled the others first. Once per seed.
    bool PassBarrier();

    /// Waits until the file holds `size` bytes: what a gated server sent has reached the disk.
    static bool WaitForFileSize(const std::string& path, std::uintmax_t size);

    std::vector<Gameinfo> InstalledGames();
    DownloadMap SavedDownloads();
    std::string GameFolder(const std::string& gameId, const std::string& system = "FC") const
    {
        return m_games.Path() + system + "/" + gameId + "/";
    }

    TempFolder m_home, m_tmp, m_games;
    TestFileServer m_server;
    ScriptedPrompts m_prompts;
    MessageQueue m_window;
    std::unique_ptr<LibraryDatabase> m_database;
    DownloadOptions m_options;

private:
    std::optional<Message> Next(std::uint32_t id, const std::string& gameId, TaskStatus state);

    std::unique_ptr<DownloadManager> m_engine;
    std::mutex m_answersLock;
    std::map<std::string, std::string> m_answers;
};

} // namespace ravelo::test
