#pragma once

#include <cstdint>

namespace ravelo {

/// What a download task shows: the status of progress records (UM_DOWNLOAD_PROGRESS) and of listener
/// messages (UM_ITEM_STATE, in wParam with these numeric values), and what the engine asks to announce.
enum class TaskStatus : int
{
    None = 0,      // no task: the game is not being downloaded
    Unchanged = 1, // nothing to announce
    Downloading = 2,
    Stopped = 3,
    Waiting = 4, // for a free transfer
    Unpacking = 5,
    UnpackPaused = 6,
    Installed = 8,
    Failed = 9,    // a progress record only; the task then shows as stopped
    Finished = 10, // a transfer completed; announced as Installed when the task leaves
};

/// What a user asks of a task (the download centre's buttons, ravelo-cli).
enum class TaskCommand : int
{
    Start = 1, // start or resume
    Stop = 2,
    Delete = 3,
};

/// The numeric value a status travels with in a message's wParam.
constexpr std::uintptr_t ToWParam(TaskStatus status)
{
    return static_cast<std::uintptr_t>(status);
}

/// The status a listener message carries in its wParam.
constexpr TaskStatus StatusFromWParam(std::uintptr_t wParam)
{
    return static_cast<TaskStatus>(static_cast<int>(wParam));
}

} // namespace ravelo
