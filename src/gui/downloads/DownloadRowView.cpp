#include "gui/downloads/DownloadRowView.h"

#include "download/DownloadResult.h"
#include "platform/Translate.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace ravelo {
namespace {

constexpr double kMegabyte = 1048576.0;

int Permille(double done, double total)
{
    if (!(total > 0) || !(done > 0) || !std::isfinite(done) || !std::isfinite(total))
        return 0;
    return static_cast<int>(std::min(1000.0, std::floor(done * 1000.0 / total)));
}

std::string PercentText(double done, double total)
{
    if (!(total > 0) || !std::isfinite(total) || !std::isfinite(done))
        return std::string();
    const int percent = static_cast<int>(std::clamp(std::floor(done * 100.0 / total), 0.0, 100.0));
    return std::to_string(percent) + "%";
}

std::string Format(const char* format, double a, double b)
{
    char text[128];
    std::snprintf(text, sizeof(text), format, a, b);
    return text;
}

/// "完成" + done + "M/" + total + "M" from the engine's megabyte texts; a total that is not a number
/// is left out rather than shown as it stands.
void FromSizeTexts(DownloadRowText& row, const std::string& prefix, const std::string& current,
                   const std::string& totalText)
{
    const double done = MegabytesOf(current).value_or(0);
    const std::optional<double> total = MegabytesOf(totalText);
    char text[128];
    if (total && *total > 0)
        std::snprintf(text, sizeof(text), "%.2fM/%.2fM", done, *total);
    else
        std::snprintf(text, sizeof(text), "%.2fM", done);
    row.status = prefix + text;
    row.permille = Permille(done, total.value_or(0));
    row.percent = PercentText(done, total.value_or(0));
}

/// The next step for a failure whose reason does not name one.
const char* FailureAdvice(int code)
{
    switch (code) {
    case kResultCannotCreateFile:
    case kResultChecksumMismatch:
        return nullptr; // the reason says what to do
    case kResultDiskFull:
        return TrNoop(",请清理磁盘空间后点击开始重试");
    case kResultUnpackFailed:
        return TrNoop(",请删除任务后重新下载");
    case kResultBadGameId:
        return TrNoop(",请删除该任务");
    default:
        break;
    }
    if (code == kResultNoAddress || code == kResultNoLength || code == kResultNoVolumeAddress ||
        (code >= 1 && code <= 99) || (code >= 100 && code <= 599))
        return TrNoop(",请检查网络后点击开始重试");
    return TrNoop(",请点击开始重试");
}

} // namespace

std::optional<double> MegabytesOf(const std::string& text)
{
    double value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || !std::isfinite(value) || value < 0)
        return std::nullopt;
    return value;
}

std::string MegabytesText(double bytes)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.2f", static_cast<double>(static_cast<float>(bytes / kMegabyte)));
    return text;
}

std::string SpeedText(double bytesPerSecond)
{
    char text[64];
    if (bytesPerSecond >= kMegabyte)
        std::snprintf(text, sizeof(text), "%.2fM/s", bytesPerSecond / kMegabyte);
    else
        std::snprintf(text, sizeof(text), "%.0fK/s", std::max(0.0, bytesPerSecond / 1024.0));
    return text;
}

std::string TimeLeftText(std::int64_t seconds)
{
    seconds = std::max<std::int64_t>(0, seconds);
    char text[64];
    if (seconds >= 3600)
        std::snprintf(text, sizeof(text), "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof(text), "%02lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    return std::string(Tr("剩余 ")) + text;
}

std::string FailureStatusText(int code, const TransferError& lastProbe)
{
    std::string text = std::string(Tr("下载失败,")) + DownloadFailureText(code, lastProbe);
    if (const char* advice = FailureAdvice(code))
        text += Tr(advice);
    return text;
}

bool IsActiveStatus(TaskStatus status)
{
    return status == TaskStatus::Downloading || status == TaskStatus::Waiting ||
           status == TaskStatus::Unpacking;
}

TaskCommand StartPauseCommand(bool active)
{
    return active ? TaskCommand::Stop : TaskCommand::Start;
}

GroupButtons GroupButtonsOf(int rows, int selected, int active, int idle)
{
    GroupButtons buttons;
    buttons.start = active < selected;
    buttons.pause = idle < selected;
    buttons.remove = selected > 0;
    buttons.allSelected = rows > 0 && selected == rows;
    return buttons;
}

DownloadRowText RowTextOfProgress(const DownloadProgress& record, TransferRate& rate,
                                  TransferRate::Clock::time_point now)
{
    DownloadRowText row;
    const double done = static_cast<double>(static_cast<float>(record.done / kMegabyte));
    const double total = static_cast<double>(static_cast<float>(record.total / kMegabyte));
    switch (record.state) {
    case TaskStatus::Downloading: {
        row.tone = RowTone::Active;
        if (record.multiVolume) {
            char text[160];
            std::snprintf(text, sizeof(text), Tr("正在下载分卷%d/%d,已下载%.2fM/%.2fM"), record.currentVolume,
                          record.volumeCount, done, total);
            row.status = text;
        } else
            row.status = Format(Tr("已下载%.2fM/%.2fM"), done, total);
        row.permille = Permille(record.done, record.total);
        row.percent = PercentText(record.done, record.total);
        rate.Add(now, record.done);
        if (const std::optional<double> speed = rate.BytesPerSecond()) {
            row.speed = SpeedText(*speed);
            if (const std::optional<std::int64_t> left = rate.SecondsLeft(record.done, record.total))
                row.speed += "  " + TimeLeftText(*left);
        }
        return row;
    }
    case TaskStatus::Stopped:
        rate.Reset();
        FromSizeTexts(row, Tr("下载停止,完成"), record.currentSize, record.totalSize);
        return row;
    case TaskStatus::Waiting:
        rate.Reset();
        FromSizeTexts(row, std::string(), record.currentSize, record.totalSize);
        row.status = Tr("等待下载");
        row.tone = RowTone::Active;
        return row;
    case TaskStatus::Unpacking:
        rate.Reset();
        row.tone = RowTone::Unpacking;
        row.status = Format(Tr("已解压%.2fM/%.2fM"), done, total);
        row.permille = Permille(record.done, record.total);
        row.percent = PercentText(record.done, record.total);
        return row;
    case TaskStatus::UnpackPaused:
        rate.Reset();
        row.status = Format(Tr("解压停止,完成%.2fM/%.2fM"), done, total);
        row.permille = Permille(record.done, record.total);
        row.percent = PercentText(record.done, record.total);
        return row;
    case TaskStatus::Failed:
        rate.Reset();
        // The bar keeps what is on disk; the words say what went wrong and what to do.
        FromSizeTexts(row, std::string(), record.currentSize, record.totalSize);
        row.status = FailureStatusText(record.code, record.lastProbe);
        row.tone = RowTone::Failed;
        return row;
    default:
        return RowTextOfTask({record.gameId, {}, {}, record.currentSize, record.totalSize, record.state, 0});
    }
}

DownloadRowText RowTextOfTask(const DownloadTaskView& task)
{
    DownloadRowText row;
    switch (task.shownStatus) {
    case TaskStatus::Waiting:
        FromSizeTexts(row, std::string(), task.currentSize, task.totalSize);
        row.status = Tr("等待下载");
        row.tone = RowTone::Active;
        break;
    case TaskStatus::Downloading:
        FromSizeTexts(row, Tr("已下载"), task.currentSize, task.totalSize);
        row.tone = RowTone::Active;
        break;
    case TaskStatus::Unpacking:
        FromSizeTexts(row, std::string(), task.currentSize, task.totalSize);
        row.status = Tr("正在解压");
        row.tone = RowTone::Unpacking;
        break;
    case TaskStatus::UnpackPaused:
        FromSizeTexts(row, std::string(), task.currentSize, task.totalSize);
        row.status = Tr("解压停止");
        break;
    default:
        FromSizeTexts(row, Tr("下载停止,完成"), task.currentSize, task.totalSize);
        break;
    }
    return row;
}

} // namespace ravelo
