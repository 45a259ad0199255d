#pragma once

#include "download/AddTaskResult.h"
#include "download/DownloadMessages.h"
#include "download/DownloadNotifier.h"
#include "download/DownloadOptions.h"
#include "download/DownloadPrompts.h"
#include "download/DownloadTask.h"
#include "download/InstalledGameSink.h"
#include "download/TaskTransfer.h"

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ravelo {

class CGame;
class LibraryDatabase;

/// The download engine: turns catalogue games into installed games. One scheduler thread acts on
/// the tasks whenever something changes (a command, a new task, a transfer that ended); one
/// transfer thread per running task (at most options.maxRunning). Unfinished tasks live on as
/// DownloadInfo rows, so a restarted program resumes them from the bytes on disk. Everything for
/// windows travels as posted messages (DownloadMessages.h).
class DownloadManager
{
public:
    explicit DownloadManager(LibraryDatabase& database, DownloadOptions options = {});
    /// Shutdown().
    ~DownloadManager();
    DownloadManager(const DownloadManager&) = delete;
    DownloadManager& operator=(const DownloadManager&) = delete;

    /// Who answers the source and captcha questions; must outlive the engine. Set before Start.
    void SetPrompts(DownloadPrompts* prompts) { m_prompts = prompts; }
    /// The installed-games list's window, told of each finished game (UM_GAME_INSTALLED).
    void SetInstalledGamesWindow(WindowHandle window) { m_installedWindow = window; }
    /// Where finished games are recorded besides the library database (the my-games store); may be
    /// null. Set before Start; must outlive the engine's Shutdown.
    void SetInstalledGameSink(InstalledGameSink* sink) { m_sink = sink; }

    /// UI thread, once: restores the saved tasks (each announced with UM_TASK_ADDED, then as
    /// stopped) and starts the scheduler. Returns false when already started or shut down.
    bool Start(WindowHandle parent, WindowHandle window);

    /// Any thread. Stops every transfer and unpacking, waits for every thread the engine started and
    /// keeps the rows, so the next start resumes from the bytes on disk. Blocks until done (a source
    /// or captcha question still open is waited for). Later calls return at once; afterwards the
    /// engine takes no new work.
    void Shutdown();

    /// Any thread. Adds a catalogue game; the scheduler then fetches its addresses and asks for the
    /// source. Anything but Added means nothing was added, and says why.
    AddTaskResult AddTask(const CGame& game, WindowHandle parent);

    /// Any thread. Applied only to a task that is settled or waiting. Returns whether it was applied
    /// (for a list: how many were).
    bool SetCommand(const std::string& gameId, TaskCommand command);
    int SetCommand(const std::vector<std::string>& gameIds, TaskCommand command);

    /// The last status announced for the game (Downloading to UnpackPaused), None when it has no task.
    TaskStatus GetShownStatus(const std::string& gameId) const;
    /// Tasks of the list that transfer or unpack (not paused) or wait for a free transfer.
    int CountActive(const std::vector<std::string>& gameIds) const;
    /// Tasks of the list without a transfer, or with a paused unpacking.
    int CountIdle(const std::vector<std::string>& gameIds) const;
    /// Tasks with a transfer thread.
    int CountRunning() const;
    /// Snapshot of every task, in game id order.
    std::vector<DownloadTaskView> Tasks() const;
    /// Lets the download centre tie its list item to the task; echoed in progress records.
    void SetTaskItem(const std::string& gameId, int item);

    /// A listener receives UM_ITEM_STATE (status, cookie) for its game until it is removed or its
    /// window is gone.
    void AddListener(WindowHandle window, const std::string& gameId, std::uintptr_t cookie);
    void RemoveListener(WindowHandle window, const std::string& gameId, std::uintptr_t cookie);

    /// A count watcher receives UM_DOWNLOAD_COUNT with the number of active downloads (CountActive of
    /// every task) at once, and then each time that number changes.
    void AddCountWatcher(WindowHandle window);
    void RemoveCountWatcher(WindowHandle window);

private:
    void SchedulerLoop();
    /// Scheduler thread, task lock held. Each returns true when the task is to be removed.
    bool ActOnPhase(DownloadTask& task);
    bool Announce(DownloadTask& task);
    void StartOrQueue(DownloadTask& task);
    /// Joins the task's transfer thread once it has handed over its outcome; true when none is left.
    bool ReapTransfer(DownloadTask& task);
    void MeasureArchive(DownloadTask& task);
    void DeleteTaskFiles(const DownloadTask& task);
    void FinishTask(DownloadTask& task);
    void ShutdownTasks();
    void Prepare(DownloadTask& task);
    int CountActiveLocked(const std::vector<std::string>* gameIds) const;

    void PostProgress(const DownloadTask& task, TaskStatus state, int code, double done = 0,
                      double total = 0);
    void PostStatus(const DownloadTask& task, bool active);
    void PostCounts();
    DownloadTaskView ViewOf(const DownloadTask& task) const;

    LibraryDatabase& m_database;
    DownloadOptions m_options;
    DownloadPrompts* m_prompts = nullptr;
    InstalledGameSink* m_sink = nullptr;
    WindowHandle m_installedWindow = 0;
    WindowHandle m_window = 0;
    WindowHandle m_parent = 0;

    mutable std::timed_mutex m_taskLock;
    std::condition_variable_any m_wake;
    bool m_pending = false;
    bool m_stop = false;
    bool m_started = false;
    std::map<std::string, std::unique_ptr<DownloadTask>> m_tasks;
    std::atomic<int> m_running{0};

    DownloadNotifier m_notifier;

    std::mutex m_shutdownLock; // one Shutdown at a time; a second waits for the first
    bool m_shutDown = false;

    TransferEnvironment m_environment;
    std::thread m_scheduler;
};

} // namespace ravelo
