#pragma once

#include "download/DownloadMessages.h"
#include "download/TaskStatus.h"
#include "gui/downloads/TransferRate.h"

#include <optional>
#include <string>

namespace ravelo {

/// How a row is coloured: a running download, one at rest, a failure, an unpacking.
enum class RowTone
{
    Active,
    Idle,
    Failed,
    Unpacking,
};

/// What one row of the download centre shows. Pure data, decided without any window.
struct DownloadRowText
{
    std::string status;  // Lb_Status
    std::string percent; // Lb_Percent ("45%"; empty when the total is unknown)
    std::string speed;   // Lb_Speed: speed and time left while downloading, else empty
    int permille = 0;    // Progress_Download, 0 to 1000
    RowTone tone = RowTone::Idle;
};

/// The text of a progress record of the engine; rate follows the row's speed (fed with downloading
/// records, reset by the others) and now is the record's arrival.
DownloadRowText RowTextOfProgress(const DownloadProgress& record, TransferRate& rate,
                                  TransferRate::Clock::time_point now);

/// The text of a task as the engine's snapshot shows it, before any progress record arrived.
DownloadRowText RowTextOfTask(const DownloadTaskView& task);

/// "下载失败," and the failure's reason, followed by what to do next where the reason does not say it
/// already (check the folder, free disk space, retry).
std::string FailureStatusText(int code, const TransferError& lastProbe = {});

/// Whether the engine counts a task in this shown status as active (a start/pause option shows it
/// selected, and a click stops it).
bool IsActiveStatus(TaskStatus status);

/// The command a click on a row's start/pause option sends: stop an active task, start any other.
TaskCommand StartPauseCommand(bool active);

/// The group buttons for `selected` selected rows of `rows`, of which `active` are active (the engine's
/// count) and `idle` at rest: start while not all are active, pause while not all are at rest, delete
/// while any is selected; "select all" ticked when every row of a non-empty list is.
struct GroupButtons
{
    bool start = false;
    bool pause = false;
    bool remove = false;
    bool allSelected = false;
};
GroupButtons GroupButtonsOf(int rows, int selected, int active, int idle);

/// A megabyte text of the engine or the catalogue ("12.50") read as a number; nothing when it is not
/// one (empty, a word, a negative or endless value).
std::optional<double> MegabytesOf(const std::string& text);

/// "%.2f" of bytes in megabytes, each rounded to single precision first, as the program prints sizes.
std::string MegabytesText(double bytes);

/// "1.25M/s" or "512K/s".
std::string SpeedText(double bytesPerSecond);
/// "剩余 00:25", "剩余 12:05", "剩余 1:02:03".
std::string TimeLeftText(std::int64_t seconds);

} // namespace ravelo
