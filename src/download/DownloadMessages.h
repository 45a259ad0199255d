#pragma once

#include "download/TaskStatus.h"
#include "platform/Messages.h"
#include "service/HttpTransport.h"

#include <cstdint>
#include <string>

namespace ravelo {

// Messages of the download engine; the receiver owns every payload.
constexpr std::uint32_t UM_DOWNLOAD_PROGRESS = WM_USER + 107; // 1131: DownloadProgress
constexpr std::uint32_t UM_ITEM_STATE = WM_USER + 109;        // 1133: wParam TaskStatus, ItemStateCookie
constexpr std::uint32_t UM_GAME_INSTALLED = WM_USER + 110;    // 1134: Gameinfo
constexpr std::uint32_t UM_TASK_ADDED = WM_USER + 113;        // 1137: DownloadTaskView
constexpr std::uint32_t UM_TASK_LEFT = WM_USER + 114;         // 1138: DownloadTaskView (game id, item)
constexpr std::uint32_t UM_TASK_STATUS = WM_USER + 115;       // 1139: wParam 1 active / 0 not, std::string id
constexpr std::uint32_t UM_TASK_COUNTS = WM_USER + 116;       // 1140: nothing
constexpr std::uint32_t UM_DOWNLOAD_COUNT = WM_USER + 0x80;   // 1152: wParam the active downloads, nothing

/// A progress or status report of one task.
struct DownloadProgress
{
    std::string gameId;
    double done = 0;  // bytes downloaded or unpacked
    double total = 0; // bytes in all
    int item = 0;     // the download centre's list item of the task, echoed
    TaskStatus state = TaskStatus::None;
    int code = 0;            // result code (DownloadResult) for TaskStatus::Failed
    TransferError lastProbe; // with kResultNoAddress: the last answer an address gave to its probe
    int multiVolume = 0;
    int currentVolume = 0;
    int volumeCount = 0;
    std::string currentSize; // megabytes on disk, "%.2f" (stopped, waiting, failed)
    std::string totalSize;   // the catalogue's size text
};

/// What a window shows of a task when it is added or leaves.
struct DownloadTaskView
{
    std::string gameId;
    std::u16string gameName;
    std::string icon;
    std::string currentSize;
    std::string totalSize;
    TaskStatus shownStatus = TaskStatus::None;
    int item = 0;
};

/// The cookie a listener registered with, and the game it listens to.
struct ItemStateCookie
{
    std::string gameId;
    std::uintptr_t cookie = 0;
};

} // namespace ravelo
