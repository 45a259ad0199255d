#pragma once

#include "download/DownloadOptions.h"
#include "download/DownloadTask.h"

#include <atomic>
#include <functional>

namespace ravelo {

class DownloadPrompts;
class LibraryDatabase;

/// What a transfer thread needs from its engine. Everything here outlives the thread.
struct TransferEnvironment
{
    const DownloadOptions* options = nullptr;
    LibraryDatabase* database = nullptr;
    DownloadPrompts* const* prompts = nullptr; // the engine's current prompts (may be null)
    const WindowHandle* window = nullptr;      // where progress records go
    std::atomic<int>* running = nullptr;       // running transfers, one less when this one ends
    std::function<void()> wake;                // tells the scheduler that something changed
    /// Sets the flag under the scheduler's lock and wakes it, so the scheduler never sees the flag
    /// while the thread still waits for that lock (it would join a thread that cannot end).
    std::function<void(std::atomic<bool>& flag)> wakeWith;
};

/// The body of a transfer thread: chooses an address of the task's source, downloads (whole or
/// volume by volume, resuming from the bytes on disk), checks and unpacks the archive. Ends by
/// storing the result, requesting status 10 (finished), 3 (stopped) or 9 (failed), marking the
/// context finished and waking the scheduler. Touches the task's info only; never takes the task lock.
void RunTaskTransfer(DownloadTask& task, TransferContext& context, const TransferEnvironment& environment);

} // namespace ravelo
