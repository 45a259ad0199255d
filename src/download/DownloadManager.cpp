#include "download/DownloadManager.h"

#include "download/DownloadAddresses.h"
#include "download/DownloadMessages.h"
#include "download/DownloadResult.h"
#include "download/ResumableTransfer.h"
#include "platform/DebugOutput.h"
#include "platform/PlainName.h"
#include "platform/TextConvert.h"
#include "service/CGame.h"
#include "settings/AppPaths.h"
#include "store/LibraryDatabase.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace ravelo {
namespace {

std::string MegabytesText(std::int64_t bytes)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.2f", static_cast<double>(bytes) / 1048576.0);
    return text;
}

bool Contains(const std::vector<std::string>& ids, const std::string& id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

DownloadManager::DownloadManager(LibraryDatabase& database, DownloadOptions options)
    : m_database(database), m_options(std::move(options))
{
    m_environment.options = &m_options;
    m_environment.database = &m_database;
    m_environment.prompts = &m_prompts;
    m_environment.window = &m_window;
    m_environment.running = &m_running;
    m_environment.wake = [this] { Wake(); };
    m_environment.wakeWith = [this](std::atomic<bool>& flag) { WakeWith(flag); };
}

DownloadManager::~DownloadManager()
{
    Shutdown();
}

void DownloadManager::Shutdown()
{
    {
        std::lock_guard guard(m_taskLock);
        if (m_shutDown)
            return;
        m_shutDown = true;
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_scheduler.joinable())
        m_scheduler.join();
    else
        ShutdownTasks();
}

bool DownloadManager::Start(WindowHandle parent, WindowHandle window)
{
    DownloadMap saved;
    {
        std::lock_guard guard(m_taskLock);
        if (m_started)
            return false;
        m_started = true;
        m_parent = parent;
        m_window = window;
    }
    m_database.PostWait(DbOperation::LoadDownloads, &saved);
    {
        std::lock_guard guard(m_taskLock);
        for (auto& [id, info] : saved) {
            if (!IsPlainName(id) || m_tasks.count(id))
                continue;
            auto task = std::make_unique<DownloadTask>();
            task->info = std::move(info);
            task->parent = parent;
            // A restored task starts stopped: the first pass measures its archive and announces it.
            PostMessage(m_window, UM_TASK_ADDED, 0, std::make_unique<DownloadTaskView>(ViewOf(*task)));
            m_tasks.emplace(id, std::move(task));
        }
        m_pending = true;
    }
    m_scheduler = std::thread([this] { SchedulerLoop(); });
    return true;
}

bool DownloadManager::AddTask(const CGame& game, WindowHandle parent)
{
    std::unique_lock guard(m_taskLock, std::chrono::milliseconds(500));
    if (!guard.owns_lock() || !m_started || m_stop || m_tasks.count(game.gameid))
        return false;
    std::string shortName;
    try {
        shortName = Utf16ToAnsi(game.emulatorshortname);
    } catch (const TextConversionError&) {
        return false;
    }
    if (GamesFolder().empty() || !IsPlainName(game.gameid) || !IsPlainName(shortName)) {
        DebugOutput("download: refusing game '" + game.gameid + "' of system '" + shortName + "'");
        return false;
    }
    auto task = std::make_unique<DownloadTask>();
    DownloadInfo& info = task->info;
    info.GameId = game.gameid;
    info.Icon = game.icon;
    info.GameName = game.gamename;
    info.EmulatorShortName = shortName;
    try {
        info.CategoryShortName = Utf16ToAnsi(game.categoryshortname);
    } catch (const TextConversionError&) {
    }
    info.EmulatorId = game.emulatorid;
    info.CategoryId = game.categoryid;
    info.PlayUrl = game.playurl;
    info.FilePath = GamesFolder() + shortName + "/" + game.gameid + "/";
    info.FileName = game.gameid + ".zip";
    info.NeedUnZip = "1";
    info.TotalSize = game.size;
    info.CurrentSize = "0.0";
    task->parent = parent;
    task->phase = kPhaseNew;
    m_tasks.emplace(game.gameid, std::move(task));
    m_pending = true;
    guard.unlock();
    m_wake.notify_all();
    return true;
}

bool DownloadManager::SetCommand(const std::string& gameId, int phase)
{
    return SetCommand(std::vector<std::string>{gameId}, phase) == 1;
}

int DownloadManager::SetCommand(const std::vector<std::string>& gameIds, int phase)
{
    if (phase != kPhaseStart && phase != kPhaseStop && phase != kPhaseDelete)
        return 0;
    int applied = 0;
    {
        std::lock_guard guard(m_taskLock);
        for (const std::string& id : gameIds) {
            const auto it = m_tasks.find(id);
            if (it == m_tasks.end())
                continue;
            DownloadTask& task = *it->second;
            if (task.phase == kPhaseSettled || task.phase == kPhaseWaiting) {
                task.phase = phase;
                ++applied;
            }
        }
        m_pending = m_pending || applied > 0;
    }
    if (applied)
        m_wake.notify_all();
    return applied;
}

int DownloadManager::GetShownStatus(const std::string& gameId) const
{
    std::lock_guard guard(m_taskLock);
    const auto it = m_tasks.find(gameId);
    return it == m_tasks.end() ? 0 : it->second->shownStatus;
}

int DownloadManager::CountActive(const std::vector<std::string>& gameIds) const
{
    std::lock_guard guard(m_taskLock);
    int count = 0;
    for (const auto& [id, task] : m_tasks) {
        if (!Contains(gameIds, id))
            continue;
        const bool pausedUnpacking = task->context && task->context->unpacking && task->shownStatus == 6;
        if ((task->transfer.joinable() && !pausedUnpacking) || task->phase == kPhaseWaiting)
            ++count;
    }
    return count;
}

int DownloadManager::CountIdle(const std::vector<std::string>& gameIds) const
{
    std::lock_guard guard(m_taskLock);
    int count = 0;
    for (const auto& [id, task] : m_tasks) {
        if (!Contains(gameIds, id))
            continue;
        const bool pausedUnpacking = task->context && task->context->unpacking && task->shownStatus == 6;
        if (!task->transfer.joinable() || pausedUnpacking)
            ++count;
    }
    return count;
}

int DownloadManager::CountRunning() const
{
    std::lock_guard guard(m_taskLock);
    return static_cast<int>(std::count_if(
        m_tasks.begin(), m_tasks.end(), [](const auto& entry) { return entry.second->transfer.joinable(); }));
}

std::vector<DownloadTaskView> DownloadManager::Tasks() const
{
    std::lock_guard guard(m_taskLock);
    std::vector<DownloadTaskView> views;
    for (const auto& [id, task] : m_tasks)
        views.push_back(ViewOf(*task));
    return views;
}

void DownloadManager::SetTaskItem(const std::string& gameId, int item)
{
    std::lock_guard guard(m_taskLock);
    if (const auto it = m_tasks.find(gameId); it != m_tasks.end())
        it->second->item = item;
}

void DownloadManager::AddListener(WindowHandle window, const std::string& gameId, std::uintptr_t cookie)
{
    std::lock_guard guard(m_listenerLock);
    m_listeners.push_back({window, gameId, cookie});
}

void DownloadManager::RemoveListener(WindowHandle window, const std::string& gameId, std::uintptr_t cookie)
{
    std::lock_guard guard(m_listenerLock);
    std::erase_if(m_listeners, [&](const Listener& l) {
        return l.window == window && l.gameId == gameId && l.cookie == cookie;
    });
}

void DownloadManager::Wake()
{
    {
        std::lock_guard guard(m_taskLock);
        m_pending = true;
    }
    m_wake.notify_all();
}

void DownloadManager::WakeWith(std::atomic<bool>& flag)
{
    {
        std::lock_guard guard(m_taskLock);
        flag = true;
        m_pending = true;
    }
    m_wake.notify_all();
}

void DownloadManager::SchedulerLoop()
{
    std::unique_lock guard(m_taskLock);
    for (;;) {
        m_wake.wait(guard, [&] { return m_pending || m_stop; });
        m_pending = false;
        if (m_stop)
            break;
        for (auto it = m_tasks.begin(); it != m_tasks.end();) {
            DownloadTask& task = *it->second;
            const bool remove = ActOnPhase(task) || Announce(task);
            it = remove ? m_tasks.erase(it) : std::next(it);
        }
    }
    guard.unlock();
    ShutdownTasks();
}

bool DownloadManager::ActOnPhase(DownloadTask& task)
{
    switch (task.phase) {
    case kPhaseNew:
        task.phase = kPhasePreparing;
        task.preparer = std::thread([this, &task] { Prepare(task); });
        return false;
    case kPhasePreparing:
        if (!task.prepared)
            return false;
        task.preparer.join();
        if (!task.preparedOk) {
            NotifyListeners(task.info.GameId, 0);
            return true;
        }
        PostMessage(m_window, UM_TASK_ADDED, 0, std::make_unique<DownloadTaskView>(ViewOf(task)));
        StartOrQueue(task);
        return false;
    case kPhaseStart:
        StartOrQueue(task);
        return false;
    case kPhaseWaiting:
        if (m_running < m_options.maxRunning)
            StartOrQueue(task);
        return false;
    case kPhaseStop:
        if (task.context && task.context->unpacking && !task.context->finished) {
            task.context->zip.Pause(1);
            task.requestedStatus = 6;
            task.phase = kPhaseSettled;
            return false;
        }
        if (task.context) {
            task.context->RequestStop();
            if (!ReapTransfer(task))
                return false; // the thread wakes us when it has ended
        }
        // A transfer that finished or failed just before the stop keeps its own outcome.
        if (task.requestedStatus == kNoRequest || task.requestedStatus == 2 || task.requestedStatus == 5)
            task.requestedStatus = 3;
        MeasureArchive(task);
        task.phase = kPhaseSettled;
        return false;
    case kPhaseDelete:
        if (task.context) {
            task.context->zip.Pause(0);
            task.context->zip.Exit();
            task.context->RequestStop();
            if (!ReapTransfer(task))
                return false;
        }
        m_database.Post(DbOperation::RemoveDownload, task.info.GameId);
        DeleteTaskFiles(task);
        PostMessage(m_window, UM_TASK_LEFT, 0, std::make_unique<DownloadTaskView>(ViewOf(task)));
        PostCounts();
        NotifyListeners(task.info.GameId, 0);
        return true;
    default:
        return false;
    }
}

void DownloadManager::StartOrQueue(DownloadTask& task)
{
    if (task.context) {
        if (task.context->finished) {
            m_pending = true; // its outcome is announced in this pass; start again on the next
            task.phase = kPhaseStart;
            return;
        }
        if (task.context->unpacking) {
            task.context->zip.Pause(0);
            task.requestedStatus = 5;
        }
        task.phase = kPhaseSettled;
        return;
    }
    if (m_running >= m_options.maxRunning) {
        if (task.shownStatus != 4)
            task.requestedStatus = 4;
        task.phase = kPhaseWaiting;
        return;
    }
    ++m_running;
    task.result = 0;
    task.requestedStatus = 2;
    task.context = std::make_unique<TransferContext>();
    TransferContext* context = task.context.get();
    task.transfer = std::thread([this, &task, context] { RunTaskTransfer(task, *context, m_environment); });
    task.phase = kPhaseSettled;
}

bool DownloadManager::ReapTransfer(DownloadTask& task)
{
    if (!task.context)
        return true;
    if (!task.context->finished)
        return false;
    if (task.transfer.joinable())
        task.transfer.join();
    task.context.reset();
    return true;
}

void DownloadManager::MeasureArchive(DownloadTask& task)
{
    task.info.CurrentSize = MegabytesText(LocalFileLength(task.info.FilePath + task.info.FileName));
    m_database.Post(DbOperation::UpdateDownload, task.info);
}

void DownloadManager::DeleteTaskFiles(const DownloadTask& task)
{
    // Only a folder of our own making goes: <games folder>/<system>/<game id>/ with plain names.
    const DownloadInfo& info = task.info;
    const std::string expectedTail = "/" + info.EmulatorShortName + "/" + info.GameId + "/";
    if (!IsPlainName(info.GameId) || !IsPlainName(info.EmulatorShortName) ||
        info.FilePath.size() <= expectedTail.size() ||
        info.FilePath.compare(info.FilePath.size() - expectedTail.size(), expectedTail.size(),
                              expectedTail) != 0) {
        DebugOutput("download: not deleting unexpected folder " + info.FilePath);
        return;
    }
    std::error_code ignored;
    std::filesystem::remove_all(info.FilePath, ignored);
}

bool DownloadManager::Announce(DownloadTask& task)
{
    // A transfer's own outcome waits until its thread has ended and can be joined.
    const int peek = task.requestedStatus.load();
    if ((peek == 3 || peek == 9 || peek == kRequestFinished) && task.context && !task.context->finished)
        return false;
    const int status = task.requestedStatus.exchange(kNoRequest);
    switch (status) {
    case kNoRequest:
        return false;
    case 2:
        PostStatus(task, true);
        PostCounts();
        break;
    case 3:
        ReapTransfer(task);
        if (!task.context)
            MeasureArchive(task);
        PostProgress(task, kStateStopped, 0);
        PostStatus(task, false);
        PostCounts();
        break;
    case 4:
        PostProgress(task, kStateWaiting, 0);
        PostStatus(task, true);
        break;
    case 5:
        PostStatus(task, true);
        PostCounts();
        break;
    case 6: {
        const CZip& zip = task.context->zip;
        PostProgress(task, kStateUnpackPaused, 0, static_cast<double>(zip.ExtractedBytes()),
                     static_cast<double>(zip.TotalBytes()));
        PostStatus(task, false);
        PostCounts();
        break;
    }
    case 9:
        ReapTransfer(task);
        MeasureArchive(task);
        PostProgress(task, kStateFailed, task.result);
        PostStatus(task, false);
        PostCounts();
        NotifyListeners(task.info.GameId, 3);
        task.shownStatus = 3;
        return false;
    case kRequestFinished:
        ReapTransfer(task);
        FinishTask(task);
        return true;
    default:
        return false;
    }
    NotifyListeners(task.info.GameId, status);
    task.shownStatus = status;
    return false;
}

void DownloadManager::FinishTask(DownloadTask& task)
{
    const DownloadInfo& info = task.info;
    m_database.Post(DbOperation::RemoveDownload, info.GameId);
    Gameinfo game;
    game.GameId = info.GameId;
    game.Icon = info.Icon;
    game.Size = info.TotalSize;
    game.GameName = info.GameName;
    game.EmulatorShortName = info.EmulatorShortName;
    game.CategoryShortName = info.CategoryShortName;
    game.IsPlay = "0";
    game.IsPK = "0";
    game.FilePath = info.FilePath;
    game.FileName = info.FileName;
    game.EmulatorId = info.EmulatorId;
    game.CategoryId = info.CategoryId;
    game.PlayUrl = info.PlayUrl;
    m_database.Post(DbOperation::AddGame, game);
    PostMessage(m_installedWindow, UM_GAME_INSTALLED, 0, std::make_unique<Gameinfo>(game));
    PostMessage(m_window, UM_TASK_LEFT, 0, std::make_unique<DownloadTaskView>(ViewOf(task)));
    PostCounts();
    NotifyListeners(info.GameId, 8); // tiles turn to "启动"
}

void DownloadManager::ShutdownTasks()
{
    for (auto& [id, task] : m_tasks) {
        if (task->preparer.joinable())
            task->preparer.join();
        if (!task->context)
            continue;
        task->context->zip.Pause(0);
        task->context->zip.Exit();
        task->context->RequestStop();
        if (task->transfer.joinable())
            task->transfer.join();
        task->context.reset();
        MeasureArchive(*task);
    }
    m_tasks.clear();
}

void DownloadManager::PostProgress(const DownloadTask& task, int state, int code, double done, double total)
{
    auto record = std::make_unique<DownloadProgress>();
    record->gameId = task.info.GameId;
    record->item = task.item;
    record->state = state;
    record->code = code;
    record->done = done;
    record->total = total;
    record->currentSize = task.info.CurrentSize;
    record->totalSize = task.info.TotalSize;
    PostMessage(m_window, UM_DOWNLOAD_PROGRESS, 0, std::move(record));
}

void DownloadManager::PostStatus(const DownloadTask& task, bool active)
{
    PostMessage(m_window, UM_TASK_STATUS, active ? 1 : 0, std::make_unique<std::string>(task.info.GameId));
}

void DownloadManager::PostCounts()
{
    PostMessage(m_window, UM_TASK_COUNTS);
}

void DownloadManager::NotifyListeners(const std::string& gameId, int status)
{
    std::lock_guard guard(m_listenerLock);
    for (const Listener& listener : m_listeners)
        if (listener.gameId == gameId)
            PostMessage(listener.window, UM_ITEM_STATE, static_cast<std::uintptr_t>(status),
                        std::make_unique<ItemStateCookie>(ItemStateCookie{gameId, listener.cookie}));
}

DownloadTaskView DownloadManager::ViewOf(const DownloadTask& task) const
{
    DownloadTaskView view;
    view.gameId = task.info.GameId;
    view.gameName = task.info.GameName;
    view.icon = task.info.Icon;
    view.currentSize = task.info.CurrentSize;
    view.totalSize = task.info.TotalSize;
    view.shownStatus = task.shownStatus;
    view.item = task.item;
    return view;
}

void DownloadManager::Prepare(DownloadTask& task)
{
    // Runs on its own thread without the task lock, so start, stop and delete of other tasks never
    // wait for the user to choose a source.
    DownloadInfo& info = task.info;
    bool ok = false;
    auto answer = std::make_unique<CDownLoadUrl>();
    const bool fetched = m_options.fetchAddresses && m_options.fetchAddresses(*answer, info.GameId);
    if (fetched) {
        FillTaskAddresses(*answer, info);
        info.Reserved3 = answer->filemd5;
        const int offered = OfferedSources(info);
        int choice = 2;
        if (offered != 0)
            choice = m_prompts ? m_prompts->ChooseSource(task.parent, info, offered)
                               : ((offered & kSourceServers) ? kSourceServers : (offered & -offered));
        ok = (choice == kSourceCloudDrive || choice == kSourceServers || choice == kSourceUnpacked) &&
             (offered & choice);
        if (ok && choice == kSourceUnpacked) {
            info.NeedUnZip = "0";
            // The unpacked game file keeps its own name (the address's last part), not the archive's.
            const std::string& address = info.Reserved1.front();
            const std::string name = address.substr(address.find_last_of('/') + 1);
            const std::string plain = name.substr(0, name.find_first_of("?#"));
            if (IsPlainName(plain))
                info.FileName = plain;
        }
        if (ok) {
            info.Reserved2 = choice;
            m_database.Post(DbOperation::RemoveDownload, info.GameId); // a stale row of an earlier run
            ok = m_database.PostWait(DbOperation::AddDownload, info);
        }
    } else {
        DebugOutput("download: no addresses for game " + info.GameId);
    }
    task.preparedOk = ok;
    WakeWith(task.prepared);
}

} // namespace ravelo
