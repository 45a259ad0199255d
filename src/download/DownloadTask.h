#pragma once

#include "download/CZip.h"
#include "download/TaskStatus.h"
#include "platform/Messages.h"
#include "service/HttpTransport.h"
#include "store/DownloadInfo.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace ravelo {

/// What the scheduler does with a task on its next pass.
enum class TaskPhase : int
{
    New = 0,       // fetch its addresses and ask for the source
    Start = 1,     // start or resume the transfer or the unpacking
    Stop = 2,      // stop the transfer, or pause the unpacking
    Delete = 3,    // stop everything, remove the row and the game's folder
    Waiting = 4,   // for a free transfer
    Settled = 5,   // nothing to do
    Preparing = 6, // asking for addresses and the source on a preparation thread
};

/// The state of one running transfer, owned by its task. `unpacking` and `finished` change only
/// under the engine's task lock, together with the task's requested status, so the scheduler never
/// decides on a state the transfer thread has already left.
struct TransferContext
{
    CZip zip;
    std::atomic<bool> unpacking{false};
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false}; // the transfer thread has handed over its outcome
    std::atomic<std::int64_t> resumeOffset{0};
    std::atomic<int> multiVolume{0};
    std::atomic<int> currentVolume{0};
    std::atomic<int> volumeCount{0};

    /// Any thread: cuts the transfer and wakes a retry pause at once.
    void RequestStop()
    {
        {
            std::lock_guard guard(m_stopLock);
            stop = true;
        }
        m_stopSignal.notify_all();
    }
    /// Transfer thread: waits out a pause; false when a stop arrived meanwhile.
    bool PauseUnlessStopped(std::chrono::milliseconds pause)
    {
        std::unique_lock guard(m_stopLock);
        return !m_stopSignal.wait_for(guard, pause, [&] { return stop.load(); });
    }

private:
    std::mutex m_stopLock;
    std::condition_variable m_stopSignal;
};

/// One download. The map of the engine owns it; its fields are guarded by the engine's task lock,
/// except `info`, which belongs to the preparation or transfer thread while one runs.
struct DownloadTask
{
    DownloadInfo info;
    WindowHandle parent = 0;
    TaskPhase phase = TaskPhase::Stop;
    TaskStatus shownStatus = TaskStatus::Stopped;
    std::atomic<int> item{0}; // read by the transfer thread for its progress records
    TaskStatus requestedStatus = TaskStatus::Unchanged;
    int result = 0;
    TransferError lastProbe; // the last answer an address gave before the transfer failed

    std::unique_ptr<TransferContext> context;
    std::thread transfer;

    std::thread preparer;
    bool prepared = false;   // the preparation thread has ended
    bool preparedOk = false; // written by the preparation thread with `prepared`
};

} // namespace ravelo
