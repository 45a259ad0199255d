// What a download-centre row shows for each record of the engine, decided without a window.
#include "gui/downloads/DownloadRowView.h"

#include "download/DownloadResult.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ravelo {
namespace {

using namespace std::chrono_literals;
using Clock = TransferRate::Clock;

DownloadProgress Record(TaskStatus state, double doneBytes, double totalBytes, std::string current = "0.00",
                        std::string total = "0.00")
{
    DownloadProgress record;
    record.gameId = "1001";
    record.state = state;
    record.done = doneBytes;
    record.total = totalBytes;
    record.currentSize = std::move(current);
    record.totalSize = std::move(total);
    return record;
}

DownloadRowText Show(const DownloadProgress& record)
{
    TransferRate rate;
    return RowTextOfProgress(record, rate, Clock::now());
}

TEST(DownloadRowView, EachStateInItsOwnWords)
{
    const double mb = 1048576;
    DownloadRowText row = Show(Record(TaskStatus::Downloading, 20.25 * mb, 45 * mb));
    EXPECT_EQ(row.status, "已下载20.25M/45.00M");
    EXPECT_EQ(row.percent, "45%");
    EXPECT_EQ(row.permille, 450);
    EXPECT_EQ(row.tone, RowTone::Active);

    DownloadProgress volumes = Record(TaskStatus::Downloading, 1 * mb, 4 * mb);
    volumes.multiVolume = 1;
    volumes.currentVolume = 2;
    volumes.volumeCount = 3;
    EXPECT_EQ(Show(volumes).status, "正在下载分卷2/3,已下载1.00M/4.00M");

    row = Show(Record(TaskStatus::Stopped, 0, 0, "32.40", "45.00"));
    EXPECT_EQ(row.status, "下载停止,完成32.40M/45.00M");
    EXPECT_EQ(row.percent, "72%");
    EXPECT_EQ(row.tone, RowTone::Idle);

    row = Show(Record(TaskStatus::Waiting, 0, 0, "0.00", "12.50"));
    EXPECT_EQ(row.status, "等待下载");
    EXPECT_EQ(row.tone, RowTone::Active);

    EXPECT_EQ(Show(Record(TaskStatus::Unpacking, 10 * mb, 40 * mb)).status, "已解压10.00M/40.00M");
    EXPECT_EQ(Show(Record(TaskStatus::UnpackPaused, 10 * mb, 40 * mb)).status, "解压停止,完成10.00M/40.00M");
}

TEST(DownloadRowView, FailuresSayWhatWentWrongAndWhatToDoNext)
{
    DownloadProgress failed = Record(TaskStatus::Failed, 0, 0, "4.00", "20.00");
    failed.code = kResultCannotCreateFile;
    const DownloadRowText row = Show(failed);
    EXPECT_EQ(row.status, "下载失败,创建文件失败:请检查下载路径是否正确");
    EXPECT_EQ(row.tone, RowTone::Failed);
    EXPECT_EQ(row.permille, 200); // the bar keeps what is on disk

    EXPECT_EQ(FailureStatusText(kResultDiskFull),
              "下载失败,写入文件失败:磁盘空间不足,请清理磁盘空间后点击开始重试");
    EXPECT_EQ(FailureStatusText(kResultChecksumMismatch),
              "下载失败,文件校验失败:下载的文件已损坏,请重新下载");
    EXPECT_EQ(FailureStatusText(7), "下载失败,CURLE_COULDNT_CONNECT,请检查网络后点击开始重试");
    EXPECT_EQ(FailureStatusText(404), "下载失败,服务器返回错误(HTTP 404),请检查网络后点击开始重试");
    EXPECT_EQ(FailureStatusText(kResultNoAddress, TransferError{0, 404, false}),
              "下载失败,没有可用的下载链接(HTTP 404),请检查网络后点击开始重试");
    EXPECT_EQ(FailureStatusText(kResultUnpackFailed), "下载失败,解压文件出错,请删除任务后重新下载");
    EXPECT_EQ(FailureStatusText(4242), "下载失败,未知错误,请点击开始重试");
}

TEST(DownloadRowView, NoTotalOrASizeThatIsNoNumberShowsSensibly)
{
    // Nothing divides by zero, nothing throws, no "NaN%" or "abcM" reaches the user.
    DownloadRowText row = Show(Record(TaskStatus::Downloading, 1000, 0));
    EXPECT_EQ(row.percent, "");
    EXPECT_EQ(row.permille, 0);
    row = Show(Record(TaskStatus::Stopped, 0, 0, "1.00", "abc"));
    EXPECT_EQ(row.status, "下载停止,完成1.00M");
    EXPECT_EQ(row.percent, "");
    row = Show(Record(TaskStatus::Stopped, 0, 0, "", ""));
    EXPECT_EQ(row.status, "下载停止,完成0.00M");
    row = Show(Record(TaskStatus::Stopped, 0, 0, "1.0", "0"));
    EXPECT_EQ(row.status, "下载停止,完成1.00M");
    row = Show(Record(TaskStatus::Stopped, 0, 0, "nan", "inf"));
    EXPECT_EQ(row.permille, 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    row = Show(Record(TaskStatus::Downloading, nan, nan));
    EXPECT_EQ(row.percent, "");
    EXPECT_EQ(row.permille, 0);
    // More on disk than the total (a changed archive) stays within the bar.
    row = Show(Record(TaskStatus::Stopped, 0, 0, "50.00", "45.00"));
    EXPECT_EQ(row.permille, 1000);
    EXPECT_EQ(row.percent, "100%");

    EXPECT_EQ(MegabytesOf("12.50"), 12.5);
    EXPECT_FALSE(MegabytesOf("12.5M"));
    EXPECT_FALSE(MegabytesOf("-1"));
    EXPECT_FALSE(MegabytesOf("1e999"));

    DownloadTaskView restored{"1001", u"星际突击队", "/pic/icon/1001.png", "x", "45.00", TaskStatus::Stopped,
                              0};
    EXPECT_EQ(RowTextOfTask(restored).status, "下载停止,完成0.00M/45.00M");
}

TEST(DownloadRowView, TheStartPauseOptionFollowsTheEngineAndAsksForWhatItsStateCallsFor)
{
    // A waiting task counts as active: its option shows selected, and a click stops it.
    EXPECT_TRUE(IsActiveStatus(TaskStatus::Waiting));
    EXPECT_TRUE(IsActiveStatus(TaskStatus::Downloading));
    EXPECT_TRUE(IsActiveStatus(TaskStatus::Unpacking));
    EXPECT_FALSE(IsActiveStatus(TaskStatus::Stopped));
    EXPECT_FALSE(IsActiveStatus(TaskStatus::UnpackPaused));
    EXPECT_EQ(StartPauseCommand(true), TaskCommand::Stop);
    EXPECT_EQ(StartPauseCommand(false), TaskCommand::Start);
}

TEST(DownloadRowView, GroupButtonsFollowTheSelection)
{
    GroupButtons none = GroupButtonsOf(3, 0, 0, 0);
    EXPECT_FALSE(none.start || none.pause || none.remove || none.allSelected);
    GroupButtons mixed = GroupButtonsOf(3, 2, 1, 1);
    EXPECT_TRUE(mixed.start && mixed.pause && mixed.remove);
    EXPECT_FALSE(mixed.allSelected);
    GroupButtons running = GroupButtonsOf(2, 2, 2, 0);
    EXPECT_FALSE(running.start);
    EXPECT_TRUE(running.pause && running.allSelected);
    GroupButtons stopped = GroupButtonsOf(2, 1, 0, 1);
    EXPECT_TRUE(stopped.start);
    EXPECT_FALSE(stopped.pause);
    EXPECT_FALSE(GroupButtonsOf(0, 0, 0, 0).allSelected);
}

TEST(TransferRate, SpeedAndTimeLeftFromTheLastSeconds)
{
    TransferRate rate;
    const auto start = Clock::now();
    rate.Add(start, 0);
    rate.Add(start + 500ms, 512 * 1024);
    EXPECT_FALSE(rate.BytesPerSecond()); // not a second of reports yet
    rate.Add(start + 2s, 2 * 1048576);
    ASSERT_TRUE(rate.BytesPerSecond());
    EXPECT_DOUBLE_EQ(*rate.BytesPerSecond(), 1048576.0);
    EXPECT_EQ(rate.SecondsLeft(2 * 1048576, 12 * 1048576), 10);
    EXPECT_FALSE(rate.SecondsLeft(2 * 1048576, 0));

    // Old reports fall out of the window: a slow start does not drag the figure down for ever.
    rate.Add(start + 10s, 20 * 1048576);
    rate.Add(start + 11s, 24 * 1048576);
    EXPECT_NEAR(*rate.BytesPerSecond(), 22.0 / 9 * 1048576, 1); // 22 MB in the last 9 s, not 24 MB in 11 s

    // Bytes going down (a new volume) start afresh.
    rate.Add(start + 12s, 1000);
    EXPECT_FALSE(rate.BytesPerSecond());
    // A stalled download has no time left to tell.
    TransferRate stalled;
    stalled.Add(start, 100);
    stalled.Add(start + 3s, 100);
    EXPECT_FALSE(stalled.SecondsLeft(100, 1000));

    EXPECT_EQ(SpeedText(2.5 * 1048576), "2.50M/s");
    EXPECT_EQ(SpeedText(512 * 1024), "512K/s");
    EXPECT_EQ(TimeLeftText(25), "剩余 00:25");
    EXPECT_EQ(TimeLeftText(725), "剩余 12:05");
    EXPECT_EQ(TimeLeftText(3723), "剩余 1:02:03");
}

TEST(TransferRate, ARowShowsSpeedOnlyWhileDownloading)
{
    const double mb = 1048576;
    TransferRate rate;
    const auto start = Clock::now();
    RowTextOfProgress(Record(TaskStatus::Downloading, 1 * mb, 10 * mb), rate, start);
    DownloadRowText row =
        RowTextOfProgress(Record(TaskStatus::Downloading, 3 * mb, 10 * mb), rate, start + 2s);
    EXPECT_EQ(row.speed, "1.00M/s  剩余 00:07");
    row = RowTextOfProgress(Record(TaskStatus::Stopped, 0, 0, "3.00", "10.00"), rate, start + 3s);
    EXPECT_EQ(row.speed, "");
    row = RowTextOfProgress(Record(TaskStatus::Downloading, 3 * mb, 10 * mb), rate, start + 4s);
    EXPECT_EQ(row.speed, ""); // a resumed download measures anew
}

} // namespace
} // namespace ravelo
