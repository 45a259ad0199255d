#pragma once

#include "download/DownloadMessages.h"
#include "download/DownloadOptions.h"
#include "download/DownloadPrompts.h"
#include "download/DownloadTask.h"
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

    /// Any thread but the engine's; idempotent. Stops every transfer and unpacking, waits for every
    /// thread the engine started and keeps the rows, so the next start resumes them.
    void Shutdown();
    DownloadManager(const DownloadManager&) = delete;
    DownloadManager& operator=(const DownloadManager&) = delete;

    /// Who answers the source and captcha questions; must outlive the engine. Set before Start.
    void SetPrompts(DownloadPrompts* prompts) { m_prompts = prompts; }
    /// The installed-games list's window, told of each finished game (UM_GAME_INSTALLED).
    void SetInstalledGamesWindow(WindowHandle window) { m_installedWindow = window; }

    /// UI thread, once: restores the saved tasks (each announced with UM_TASK_ADDED, then as
    /// stopped) and starts the scheduler. Returns false when already started.
    bool Start(WindowHandle parent, WindowHandle window);

    /// Any thread. Adds a catalogue game; the scheduler then fetches its addresses and asks for the
    /// source. False (nothing added) when not started, when the task lock is not had within 500 ms,
    /// when the game is already there, when no games folder is set, or when the game's id or system
    /// name cannot be a folder name.
    bool AddTask(const CGame& game, WindowHandle parent);

    /// Any thread. Asks for kPhaseStart, kPhaseStop or kPhaseDelete; applied only to a task that is
    /// settled or waiting. Returns whether it was applied (for a list: how many were).
    bool SetCommand(const std::string& gameId, int phase);
    int SetCommand(const std::vector<std::string>& gameIds, int phase);

    /// The last status announced for the game (2, 3, 4, 5, 6), 0 when it has no task.
    int GetShownStatus(const std::string& gameId) const;
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

    /// A listener receives UM_ITEM_STATE (status, cookie) for its game.
    void AddListener(WindowHandle window, const std::string& gameId, std::uintptr_t cookie);
    void RemoveListener(WindowHandle window, const std::string& gameId, std::uintptr_t cookie);

private:
    struct Listener
    {
        WindowHandle window;
        std::string gameId;
        std::uintptr_t cookie;
    };

    void Wake();
    void WakeWith(std::atomic<bool>& flag);
    void SchedulerLoop();
    /// Scheduler thread, task lock held. Returns true when the task is to be removed.
    bool ActOnPhase(DownloadTask& task);
    bool Announce(DownloadTask& task);
    void StartOrQueue(DownloadTask& task);
    bool ReapTransfer(DownloadTask& task);
    void MeasureArchive(DownloadTask& task);
    void DeleteTaskFiles(const DownloadTask& task);
    void FinishTask(DownloadTask& task);
    void ShutdownTasks();
    void Prepare(DownloadTask& task);

    void PostProgress(const DownloadTask& task, int state, int code, double done = 0, double total = 0);
    void PostStatus(const DownloadTask& task, bool active);
    void PostCounts();
    void NotifyListeners(const std::string& gameId, int status);
    DownloadTaskView ViewOf(const DownloadTask& task) const;

    LibraryDatabase& m_database;
    DownloadOptions m_options;
    DownloadPrompts* m_prompts = nullptr;
    WindowHandle m_installedWindow = 0;
    WindowHandle m_window = 0;
    WindowHandle m_parent = 0;

    mutable std::timed_mutex m_taskLock;
    std::condition_variable_any m_wake;
    bool m_pending = false;
    bool m_stop = false;
    bool m_started = false;
    bool m_shutDown = false;
    std::map<std::string, std::unique_ptr<DownloadTask>> m_tasks;
    std::atomic<int> m_running{0};

    mutable std::mutex m_listenerLock;
    std::vector<Listener> m_listeners;

    TransferEnvironment m_environment;
    std::thread m_scheduler;
};

} // namespace ravelo
