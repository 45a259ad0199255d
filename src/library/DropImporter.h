#pragma once

#include "platform/Messages.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ravelo {

class CMyGameStore;

/// Imports the files and folders dropped on the my-games page, on a thread of its own, for the
/// system the page shows. One drop at a time: a drop that arrives while one runs is refused.
/// The destructor stops the running import between files and joins it.
class DropImporter
{
public:
    /// The store must outlive the importer.
    explicit DropImporter(CMyGameStore& store);
    ~DropImporter();
    DropImporter(const DropImporter&) = delete;
    DropImporter& operator=(const DropImporter&) = delete;

    /// UI thread. Starts importing the dropped paths (taken over) for the system number, announcing
    /// each game to window. False, importing nothing, while an earlier drop is still running.
    bool Start(WindowHandle window, int systemNumber, std::vector<std::string> paths);

    /// Any thread. Whether a drop is being imported.
    bool IsRunning() const { return m_running.load(); }

    /// Any thread. Waits until the running drop (if any) has finished.
    void Wait();
    /// Any thread; idempotent. Stops the running import between two files and waits for it; later
    /// drops stop at once.
    void Shutdown();

private:
    CMyGameStore& m_store;
    std::mutex m_lock; // guards m_thread
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stop{false};
};

} // namespace ravelo
