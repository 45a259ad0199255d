#pragma once

#include "download/DownloadOptions.h"
#include "download/DownloadTask.h"

#include <atomic>
#include <functional>

namespace ravelo {

class DownloadNotifier;

class DownloadPrompts;
class LibraryDatabase;

/// What a transfer thread needs from its engine. Everything here outlives the thread.
struct TransferEnvironment
{
    const DownloadOptions* options = nullptr;
    LibraryDatabase* database = nullptr;
    DownloadPrompts* const* prompts = nullptr; // the engine's current prompts (may be null)
    const WindowHandle* window = nullptr;      // where progress records go
    DownloadNotifier* listeners = nullptr;     // the game's listeners hear the downloading progress too
    std::atomic<int>* running = nullptr;       // running transfers, one less when this one ends
    /// Runs the change under the engine's task lock and then wakes the scheduler: a task's flags and
    /// its requested status change together, never between the scheduler's look and its decision.
    std::function<void(const std::function<void()>& change)> underTaskLock;
};

/// The body of a transfer thread: chooses an address of the task's source, downloads (whole or
/// volume by volume, resuming from the bytes on disk), checks and unpacks the archive. Ends by
/// handing over, in one step under the task lock, its result and the requested status (Finished,
/// Stopped or Failed) and marking the context finished. Touches the task's info only.
void RunTaskTransfer(DownloadTask& task, TransferContext& context, const TransferEnvironment& environment);

} // namespace ravelo
