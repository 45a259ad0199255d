#include "DownloadFixture.h"

#include "download/DownloadResult.h"
#include "support/FileText.h"

#include <cstdlib>
#include <filesystem>
#include <thread>

// Read by the thread sanitizer, when the tests run under it, for two libraries built without it:
// mktime (CZip's entry times) sets up the time zone under a lock inside the C library that the
// sanitizer cannot see, and the test servers' HTTP library reads its function-local statics (the
// pattern of the Range header) on an inlined fast path the sanitizer does not see either.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:tzset_internal\n"
           "race:libcpp-httplib.so\n";
}

namespace ravelo::test {

using namespace std::chrono_literals;

std::string ScriptedPrompts::ReadImage(const std::string& path)
{
    return ReadText(path);
}

void DownloadFixture::SetUp()
{
    ::setenv("RAVELO_HOME", m_home.Path().c_str(), 1);
    ::setenv("TMPDIR", m_tmp.Path().c_str(), 1);
    ComputeProgramPaths();
    CreateProgramFolders();
    ApplyGamesFolder(m_games.Path());
    m_database = std::make_unique<LibraryDatabase>(m_home / "database/ravelo.db");
    m_server.Start();

    m_options.retryPauseFirst = 5ms;
    m_options.retryPauseMax = 40ms;
    m_options.probePause = 5ms;
    m_options.fetchAddresses = [this](CDownLoadUrl& answer, const std::string& gameId) {
        std::lock_guard guard(m_answersLock);
        const auto it = m_answers.find(gameId);
        return it != m_answers.end() && answer.Decode(it->second);
    };
}

void DownloadFixture::TearDown()
{
    m_server.ReleaseGate();
    m_engine.reset();
    m_database.reset();
    ApplyGamesFolder("");
    ::unsetenv("RAVELO_HOME");
    ::unsetenv("TMPDIR");
}

void DownloadFixture::MakeEngine(int maxRunning)
{
    m_options.maxRunning = maxRunning;
    m_engine = std::make_unique<DownloadManager>(*m_database, m_options);
    m_engine->SetPrompts(&m_prompts);
    m_engine->SetInstalledGameSink(m_sink);
    m_engine->SetInstalledGamesWindow(m_window.Handle());
    m_engine->Start(m_window.Handle(), m_window.Handle());
}

void DownloadFixture::SetAnswer(const std::string& gameId, const std::string& json)
{
    std::lock_guard guard(m_answersLock);
    m_answers[gameId] = json;
}

CGame DownloadFixture::Game(const std::string& gameId, const std::string& system) const
{
    CGame game;
    game.gameid = gameId;
    game.gamename = u"测试游戏 " + std::u16string(gameId.begin(), gameId.end());
    game.emulatorshortname = std::u16string(system.begin(), system.end());
    game.emulatorid = "125";
    game.size = "1.00";
    return game;
}

std::string DownloadFixture::MakeArchive(const std::string& gameId, std::size_t size)
{
    const std::string path = m_tmp / (gameId + "-source.zip");
    std::string data(size, '\0');
    std::uint32_t state = 2463534242u;
    for (char& byte : data) { // xorshift noise: the archive stays about as large as its content
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state);
    }
    {
        ZipBuilder zip(path);
        zip.Add(gameId + ".nes", data);
        zip.Add("manual/说明.txt", "按 Start 开始");
    }
    return ReadText(path);
}

std::optional<Message> DownloadFixture::Next(std::uint32_t id, const std::string& gameId, TaskStatus state)
{
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline) {
        auto message = m_window.Wait(std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()));
        if (!message)
            break;
        if (message->id != id)
            continue;
        if (id == UM_DOWNLOAD_PROGRESS) {
            auto* typed = dynamic_cast<TypedPayload<DownloadProgress>*>(message->payload.get());
            if (!typed)
                continue;
            auto record = typed->Take();
            if (record->gameId == gameId && record->state == state) {
                message->payload = std::make_unique<TypedPayload<DownloadProgress>>(std::move(record));
                return message;
            }
        } else if (id == UM_TASK_LEFT) {
            auto view = message->TakePayload<DownloadTaskView>();
            if (view && view->gameId == gameId)
                return message;
        } else if (id == UM_ITEM_STATE) {
            auto cookie = message->TakePayload<ItemStateCookie>();
            if (cookie && cookie->gameId == gameId && StatusFromWParam(message->wParam) == state)
                return message;
        }
    }
    return std::nullopt;
}

std::unique_ptr<DownloadProgress> DownloadFixture::WaitForState(const std::string& gameId, TaskStatus state)
{
    auto message = Next(UM_DOWNLOAD_PROGRESS, gameId, state);
    return message ? message->TakePayload<DownloadProgress>() : nullptr;
}

bool DownloadFixture::WaitForTaskLeft(const std::string& gameId)
{
    return Next(UM_TASK_LEFT, gameId, TaskStatus::None).has_value();
}

bool DownloadFixture::WaitForItemState(const std::string& gameId, TaskStatus status)
{
    return Next(UM_ITEM_STATE, gameId, status).has_value();
}

std::string DownloadFixture::WaitForOutcome(const std::string& gameId)
{
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline) {
        auto message = m_window.Wait(std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()));
        if (!message)
            break;
        if (message->id == UM_TASK_LEFT) {
            auto view = message->TakePayload<DownloadTaskView>();
            if (view && view->gameId == gameId)
                return "installed";
        } else if (message->id == UM_DOWNLOAD_PROGRESS) {
            auto record = message->TakePayload<DownloadProgress>();
            if (record && record->gameId == gameId && record->state == TaskStatus::Failed)
                return "failed " + std::to_string(record->code) + ": " +
                       DownloadFailureText(record->code, record->lastProbe);
        }
    }
    return std::string();
}

void DownloadFixture::SeedRow(const DownloadInfo& row)
{
    ASSERT_TRUE(m_database->PostWait(DbOperation::AddDownload, row));
}

DownloadInfo DownloadFixture::VolumeRow(const std::string& gameId,
                                        const std::map<int, std::string>& volumes) const
{
    DownloadInfo row;
    row.GameId = gameId;
    row.GameName = u"分卷游戏";
    row.EmulatorShortName = "FC";
    row.EmulatorId = "125";
    row.FilePath = GameFolder(gameId);
    row.FileName = gameId + ".zip";
    row.NeedUnZip = "1";
    row.Volume = "1";
    row.VolumeUrlList[0] = volumes;
    row.TotalSize = "1.00";
    row.CurrentSize = "0.0";
    row.Reserved2 = kSourceServers;
    return row;
}

void DownloadFixture::SeedBarrier()
{
    DownloadInfo row;
    row.GameId = "~barrier";
    row.EmulatorShortName = "FC";
    row.FilePath = GameFolder(row.GameId);
    row.FileName = "barrier.zip";
    SeedRow(row);
}

bool DownloadFixture::PassBarrier()
{
    return Engine().SetCommand("~barrier", TaskCommand::Delete) && WaitForTaskLeft("~barrier");
}

bool DownloadFixture::WaitForTasksLeft(std::set<std::string> gameIds)
{
    while (!gameIds.empty()) {
        auto message = m_window.WaitFor(UM_TASK_LEFT, 20s);
        if (!message)
            return false;
        if (auto view = message->TakePayload<DownloadTaskView>())
            gameIds.erase(view->gameId);
    }
    return true;
}

bool DownloadFixture::WaitForFileSize(const std::string& path, std::uintmax_t size)
{
    // Nothing signals bytes reaching the disk, so look every few milliseconds for a bounded time.
    for (int i = 0; i < 2000; ++i) {
        std::error_code error;
        if (std::filesystem::file_size(path, error) == size && !error)
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

std::vector<Gameinfo> DownloadFixture::InstalledGames()
{
    std::vector<Gameinfo> games;
    m_database->PostWait(DbOperation::LoadGames, &games);
    return games;
}

DownloadMap DownloadFixture::SavedDownloads()
{
    DownloadMap downloads;
    m_database->PostWait(DbOperation::LoadDownloads, &downloads);
    return downloads;
}

} // namespace ravelo::test
