#include "download/DownloadManager.h"

#include "download/DownloadAddresses.h"
#include "download/DownloadMessages.h"
#include "download/DownloadResult.h"
#include "download/ResumableTransfer.h"
#include "download/TaskPreparation.h"
#include "platform/DebugOutput.h"
#include "platform/PlainName.h"
#include "platform/StartThread.h"
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

bool HasPausedUnpacking(const DownloadTask& task)
{
    return task.context && task.context->unpacking && task.shownStatus == TaskStatus::UnpackPaused;
}

/// Transfers or unpacks (not paused), or waits for a free transfer.
bool IsActive(const DownloadTask& task)
{
    return (task.transfer.joinable() && !HasPausedUnpacking(task)) || task.phase == TaskPhase::Waiting;
}

Gameinfo InstalledGameOf(const DownloadInfo& info)
{
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
    return game;
}

} // namespace

DownloadManager::DownloadManager(LibraryDatabase& database, DownloadOptions options)
    : m_database(database), m_options(std::move(options))
{
    m_environment.options = &m_options;
    m_environment.database = &m_database;
    m_environment.prompts = &m_prompts;
    m_environment.window = &m_window;
    m_environment.listeners = &m_notifier;
    m_environment.running = &m_running;
    m_environment.underTaskLock = [this](const std::function<void()>& change) {
        {
            std::lock_guard guard(m_taskLock);
            change();
            m_pending = true;
        }
        m_wake.notify_all();
    };
}

DownloadManager::~DownloadManager()
{
    Shutdown();
}

bool DownloadManager::Start(WindowHandle parent, WindowHandle window)
{
    std::lock_guard once(m_shutdownLock);
    DownloadMap saved;
    {
        std::lock_guard guard(m_taskLock);
        if (m_started || m_stop)
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
            task->requestedStatus = TaskStatus::Stopped;
            PostMessage(m_window, UM_TASK_ADDED, 0, std::make_unique<DownloadTaskView>(ViewOf(*task)));
            m_tasks.emplace(id, std::move(task));
        }
        m_pending = true;
    }
    m_scheduler = StartThread([this] { SchedulerLoop(); });
    return true;
}

void DownloadManager::Shutdown()
{
    std::lock_guard once(m_shutdownLock);
    if (m_shutDown)
        return;
    m_shutDown = true;
    {
        std::lock_guard guard(m_taskLock);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_scheduler.joinable())
        m_scheduler.join();
    else
        ShutdownTasks();
    m_notifier.PostCount(0);
}

AddTaskResult DownloadManager::AddTask(const CGame& game, WindowHandle parent)
{
    std::string shortName;
    try {
        shortName = Utf16ToAnsi(game.emulatorshortname);
    } catch (const TextConversionError&) {
        return AddTaskResult::BadSystemName;
    }
    if (!IsPlainName(game.gameid) || !IsPlainName(shortName)) {
        DebugOutput("download: refusing game '" + game.gameid + "' of system '" + shortName + "'");
        return IsPlainName(game.gameid) ? AddTaskResult::BadSystemName : AddTaskResult::BadGameId;
    }
    if (GamesFolder().empty())
        return AddTaskResult::NoGamesFolder;

    // A system_clock deadline takes the lock with pthread_mutex_timedlock, which the thread sanitizer
    // follows; a steady one would use pthread_mutex_clocklock, which it does not know.
    std::unique_lock guard(m_taskLock, std::chrono::system_clock::now() + std::chrono::milliseconds(500));
    if (!guard.owns_lock())
        return AddTaskResult::Busy;
    if (!m_started || m_stop)
        return AddTaskResult::NotStarted;
    if (m_tasks.count(game.gameid))
        return AddTaskResult::AlreadyAdded;
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
    task->phase = TaskPhase::New;
    m_tasks.emplace(game.gameid, std::move(task));
    m_pending = true;
    guard.unlock();
    m_wake.notify_all();
    return AddTaskResult::Added;
}

bool DownloadManager::SetCommand(const std::string& gameId, TaskCommand command)
{
    return SetCommand(std::vector<std::string>{gameId}, command) == 1;
}

int DownloadManager::SetCommand(const std::vector<std::string>& gameIds, TaskCommand command)
{
    TaskPhase phase;
    switch (command) {
    case TaskCommand::Start:
        phase = TaskPhase::Start;
        break;
    case TaskCommand::Stop:
        phase = TaskPhase::Stop;
        break;
    case TaskCommand::Delete:
        phase = TaskPhase::Delete;
        break;
    default:
        return 0;
    }
    int applied = 0;
    {
        std::lock_guard guard(m_taskLock);
        for (const std::string& id : gameIds) {
            const auto it = m_tasks.find(id);
            if (it == m_tasks.end())
                continue;
            DownloadTask& task = *it->second;
            if (task.phase == TaskPhase::Settled || task.phase == TaskPhase::Waiting) {
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

TaskStatus DownloadManager::GetShownStatus(const std::string& gameId) const
{
    std::lock_guard guard(m_taskLock);
    const auto it = m_tasks.find(gameId);
    return it == m_tasks.end() ? TaskStatus::None : it->second->shownStatus;
}

int DownloadManager::CountActive(const std::vector<std::string>& gameIds) const
{
    std::lock_guard guard(m_taskLock);
    return CountActiveLocked(&gameIds);
}

int DownloadManager::CountActiveLocked(const std::vector<std::string>* gameIds) const
{
    int count = 0;
    for (const auto& [id, task] : m_tasks)
        if ((!gameIds || Contains(*gameIds, id)) && IsActive(*task))
            ++count;
    return count;
}

int DownloadManager::CountIdle(const std::vector<std::string>& gameIds) const
{
    std::lock_guard guard(m_taskLock);
    int count = 0;
    for (const auto& [id, task] : m_tasks)
        if (Contains(gameIds, id) && (!task->transfer.joinable() || HasPausedUnpacking(*task)))
            ++count;
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
    m_notifier.AddListener(window, gameId, cookie);
}

void DownloadManager::RemoveListener(WindowHandle window, const std::string& gameId, std::uintptr_t cookie)
{
    m_notifier.RemoveListener(window, gameId, cookie);
}

void DownloadManager::AddCountWatcher(WindowHandle window)
{
    // Under the task lock, so that no pass's count slips between this one and the registration.
    std::lock_guard guard(m_taskLock);
    m_notifier.AddCountWatcher(window, CountActiveLocked(nullptr));
}

void DownloadManager::RemoveCountWatcher(WindowHandle window)
{
    m_notifier.RemoveCountWatcher(window);
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
            ReapTransfer(task);
            // What a transfer handed over is announced before the task is acted on again, so that a
            // start never overwrites it; a delete drops it.
            const bool remove =
                (task.phase != TaskPhase::Delete && Announce(task)) || ActOnPhase(task) || Announce(task);
            it = remove ? m_tasks.erase(it) : std::next(it);
        }
        m_notifier.PostCount(CountActiveLocked(nullptr));
    }
    guard.unlock();
    ShutdownTasks();
}

bool DownloadManager::ActOnPhase(DownloadTask& task)
{
    switch (task.phase) {
    case TaskPhase::New:
        task.phase = TaskPhase::Preparing;
        task.preparer = StartThread([this, &task] { Prepare(task); });
        return false;
    case TaskPhase::Preparing:
        if (!task.prepared)
            return false;
        task.preparer.join();
        if (!task.preparedOk) {
            m_notifier.NotifyListeners(task.info.GameId, TaskStatus::None);
            return true;
        }
        PostMessage(m_window, UM_TASK_ADDED, 0, std::make_unique<DownloadTaskView>(ViewOf(task)));
        StartOrQueue(task);
        return false;
    case TaskPhase::Start:
        StartOrQueue(task);
        return false;
    case TaskPhase::Waiting:
        if (m_running < m_options.maxRunning)
            StartOrQueue(task);
        return false;
    case TaskPhase::Stop:
        if (task.context && task.context->unpacking) {
            task.context->zip.Pause(1);
            task.requestedStatus = TaskStatus::UnpackPaused;
            task.phase = TaskPhase::Settled;
            return false;
        }
        if (task.context) {
            task.context->RequestStop();
            return false; // the thread's outcome wakes us; it is reaped and announced then
        }
        task.phase = TaskPhase::Settled;
        if (task.shownStatus != TaskStatus::Stopped || task.requestedStatus != TaskStatus::Unchanged)
            task.requestedStatus = TaskStatus::Stopped;
        return false;
    case TaskPhase::Delete:
        if (task.context) {
            task.context->zip.Pause(0);
            task.context->zip.Exit();
            task.context->RequestStop();
            return false;
        }
        m_database.Post(DbOperation::RemoveDownload, task.info.GameId);
        DeleteTaskFiles(task);
        PostMessage(m_window, UM_TASK_LEFT, 0, std::make_unique<DownloadTaskView>(ViewOf(task)));
        PostCounts();
        m_notifier.NotifyListeners(task.info.GameId, TaskStatus::None);
        return true;
    default:
        return false;
    }
}

void DownloadManager::StartOrQueue(DownloadTask& task)
{
    if (task.context) {
        // The transfer still runs: only a paused unpacking needs to go on.
        if (task.context->unpacking) {
            task.context->zip.Pause(0);
            task.requestedStatus = TaskStatus::Unpacking;
        }
        task.phase = TaskPhase::Settled;
        return;
    }
    if (m_running >= m_options.maxRunning) {
        if (task.shownStatus != TaskStatus::Waiting)
            task.requestedStatus = TaskStatus::Waiting;
        task.phase = TaskPhase::Waiting;
        return;
    }
    ++m_running;
    task.result = 0;
    task.lastProbe = TransferError{};
    task.requestedStatus = TaskStatus::Downloading;
    task.context = std::make_unique<TransferContext>();
    TransferContext* context = task.context.get();
    task.transfer = StartThread([this, &task, context] { RunTaskTransfer(task, *context, m_environment); });
    task.phase = TaskPhase::Settled;
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
    const TaskStatus status = std::exchange(task.requestedStatus, TaskStatus::Unchanged);
    switch (status) {
    case TaskStatus::Downloading:
    case TaskStatus::Unpacking:
        PostStatus(task, true);
        PostCounts();
        break;
    case TaskStatus::Stopped:
        if (!task.context)
            MeasureArchive(task);
        PostProgress(task, TaskStatus::Stopped, 0);
        PostStatus(task, false);
        PostCounts();
        break;
    case TaskStatus::Waiting:
        PostProgress(task, TaskStatus::Waiting, 0);
        PostStatus(task, true);
        break;
    case TaskStatus::UnpackPaused: {
        if (!task.context)
            return false;
        const CZip& zip = task.context->zip;
        PostProgress(task, TaskStatus::UnpackPaused, 0, static_cast<double>(zip.ExtractedBytes()),
                     static_cast<double>(zip.TotalBytes()));
        PostStatus(task, false);
        PostCounts();
        break;
    }
    case TaskStatus::Failed:
        MeasureArchive(task);
        PostProgress(task, TaskStatus::Failed, task.result);
        PostStatus(task, false);
        PostCounts();
        // A failed task shows as stopped; starting it again resumes.
        m_notifier.NotifyListeners(task.info.GameId, TaskStatus::Stopped);
        task.shownStatus = TaskStatus::Stopped;
        return false;
    case TaskStatus::Finished:
        FinishTask(task);
        return true;
    default:
        return false;
    }
    m_notifier.NotifyListeners(task.info.GameId, status);
    task.shownStatus = status;
    return false;
}

void DownloadManager::FinishTask(DownloadTask& task)
{
    const Gameinfo game = InstalledGameOf(task.info);
    m_database.Post(DbOperation::RemoveDownload, game.GameId);
    m_database.Post(DbOperation::AddGame, game);
    if (m_sink)
        m_sink->GameInstalled(game);
    PostMessage(m_installedWindow, UM_GAME_INSTALLED, 0, std::make_unique<Gameinfo>(game));
    PostMessage(m_window, UM_TASK_LEFT, 0, std::make_unique<DownloadTaskView>(ViewOf(task)));
    PostCounts();
    m_notifier.NotifyListeners(game.GameId, TaskStatus::Installed); // tiles turn to "启动"
}

void DownloadManager::ShutdownTasks()
{
    // The threads are joined without the task lock: a transfer hands over its outcome under it.
    std::vector<std::thread> threads;
    {
        std::lock_guard guard(m_taskLock);
        for (auto& [id, task] : m_tasks) {
            if (task->preparer.joinable())
                threads.push_back(std::move(task->preparer));
            if (task->context) {
                task->context->zip.Pause(0);
                task->context->zip.Exit();
                task->context->RequestStop();
            }
            if (task->transfer.joinable())
                threads.push_back(std::move(task->transfer));
        }
    }
    for (std::thread& thread : threads)
        thread.join();
    std::lock_guard guard(m_taskLock);
    for (auto& [id, task] : m_tasks) {
        if (!task->context)
            continue;
        task->context.reset();
        // A game that was installed just before the stop is recorded; every other task keeps its row.
        if (task->requestedStatus == TaskStatus::Finished)
            FinishTask(*task);
        else
            MeasureArchive(*task);
    }
    m_tasks.clear();
}

void DownloadManager::PostProgress(const DownloadTask& task, TaskStatus state, int code, double done,
                                   double total)
{
    auto record = std::make_unique<DownloadProgress>();
    record->gameId = task.info.GameId;
    record->item = task.item;
    record->state = state;
    record->code = code;
    if (state == TaskStatus::Failed)
        record->lastProbe = task.lastProbe;
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
    const bool ok = PrepareTask(task.info, task.parent, m_options, m_prompts, m_database);
    m_environment.underTaskLock([&] {
        task.preparedOk = ok;
        task.prepared = true;
    });
}

} // namespace ravelo
