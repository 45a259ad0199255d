#pragma once

#include "download/CZip.h"
#include "platform/Messages.h"
#include "store/DownloadInfo.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace ravelo {

/// What the scheduler wants of a task.
enum TaskPhase : int
{
    kPhaseNew = 0,
    kPhaseStart = 1,
    kPhaseStop = 2,
    kPhaseDelete = 3,
    kPhaseWaiting = 4,
    kPhaseSettled = 5,
    kPhasePreparing = 6, // asking for addresses and the source on a preparation thread
};

/// Requested statuses beyond the shown ones: 1 nothing to announce, 10 finished.
constexpr int kNoRequest = 1;
constexpr int kRequestFinished = 10;

/// The state of one running transfer, owned by its task.
struct TransferContext
{
    CZip zip;
    std::atomic<bool> unpacking{false};
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false}; // the transfer thread has ended and may be joined
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
    int phase = kPhaseStop;
    int shownStatus = 3;
    int item = 0;
    std::atomic<int> requestedStatus{kNoRequest};
    std::atomic<int> result{0};

    std::unique_ptr<TransferContext> context;
    std::thread transfer;

    std::thread preparer;
    std::atomic<bool> prepared{false}; // the preparation thread has ended
    bool preparedOk = false;           // written by the preparation thread before `prepared`
};

} // namespace ravelo
