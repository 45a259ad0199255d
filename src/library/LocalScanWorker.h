#pragma once

#include "platform/Messages.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ravelo {

class CMyGameStore;
class FolderWatcher;
class LocalGameImporter;

/// The background import of the per-system folders under LocalGameFolder. It scans them all once,
/// then watches them and imports each file as it appears; where a folder cannot be watched (it does
/// not exist yet, the watch limit is reached) it scans everything again every rescan period.
/// Files that disappear are left in the library. The destructor stops and joins the worker.
class LocalScanWorker
{
public:
    /// The store must outlive the worker.
    explicit LocalScanWorker(CMyGameStore& store,
                             std::chrono::milliseconds rescanPeriod = std::chrono::seconds(60));
    ~LocalScanWorker();
    LocalScanWorker(const LocalScanWorker&) = delete;
    LocalScanWorker& operator=(const LocalScanWorker&) = delete;

    /// UI thread. Starts the worker, announcing imports to window; later calls do nothing and
    /// return false.
    bool Start(WindowHandle window);

    /// Any thread. Stops the worker (between two files) and joins it; idempotent.
    void Stop();
    /// Any thread, after the games folder was changed (ApplyGamesFolder): the worker leaves the old
    /// folders between two files, then scans and watches the new ones as at its start.
    void GamesFolderChanged();

    /// Any thread. Full scans done so far (the first one included); for tests and benchmarks.
    int FullScanCount() const { return m_fullScans.load(); }
    /// Any thread. Whether every system folder is being watched right now.
    bool IsWatchingAll() const { return m_watchingAll.load(); }

private:
    struct Root
    {
        std::string folder; // LocalGameFolder + code, without a trailing '/'
        std::string code;
    };

    void Run(WindowHandle window);
    /// One round over the folders of the games folder as it is now, until a stop or a re-arm.
    void WatchAndImport(LocalGameImporter& importer);
    void Interrupt(std::atomic<bool>& flag);
    bool Interrupted() const;
    std::vector<Root> Roots() const;
    bool WatchAll(FolderWatcher& watcher, const std::vector<Root>& roots);
    void FullScan(LocalGameImporter& importer);
    void HandleChange(LocalGameImporter& importer, const std::vector<Root>& roots, int change,
                      const std::string& path);

    CMyGameStore& m_store;
    std::chrono::milliseconds m_rescanPeriod;
    std::mutex m_lock; // guards m_thread and m_started
    std::thread m_thread;
    bool m_started = false;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_rearm{false};
    std::mutex m_signalLock; // guards m_watcher; pairs with m_stopSignal
    std::condition_variable m_stopSignal;
    FolderWatcher* m_watcher = nullptr; // the running worker's watcher
    std::atomic<int> m_fullScans{0};
    std::atomic<bool> m_watchingAll{false};
};

} // namespace ravelo
