// The setup worker against a real HTTP server on 127.0.0.1, with real zip archives and real installer
// programs (small shell scripts) run from the data folder.
#include "update/SetupWorker.h"
#include "platform/Md5.h"
#include "update/SetupErrorText.h"
#include "update/SetupProgress.h"
#include "update/SetupView.h"

#include "download/TestFileServer.h"
#include "platform/MessageQueue.h"
#include "support/FileText.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"

#include <fcntl.h>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <poll.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace ravelo {
namespace {

using namespace std::chrono_literals;
using test::TempFolder;
using test::TestFileServer;
namespace fs = std::filesystem;

std::string Noise(std::size_t bytes)
{
    std::mt19937 random(7);
    std::string data(bytes, '\0');
    for (char& c : data)
        c = static_cast<char>(random());
    return data;
}

// A zip archive made on disk and read back as bytes to serve.
std::string MakeZip(const std::string& path,
                    const std::vector<std::tuple<std::string, std::string, int>>& entries)
{
    {
        test::ZipBuilder zip(path);
        for (const auto& [name, data, mode] : entries)
            EXPECT_TRUE(zip.Add(name, data, false, static_cast<unsigned long>(S_IFREG | mode)));
    }
    return test::ReadText(path);
}

std::vector<SetupProgress> Drain(MessageQueue& queue)
{
    std::vector<SetupProgress> records;
    while (std::optional<Message> message = queue.Wait(0ms))
        if (std::unique_ptr<SetupProgress> record = message->TakePayload<SetupProgress>())
            records.push_back(*record);
    return records;
}

// The kinds in order, with runs of one kind folded into one entry.
std::vector<int> KindRuns(const std::vector<SetupProgress>& records)
{
    std::vector<int> kinds;
    for (const SetupProgress& record : records)
        if (kinds.empty() || kinds.back() != record.kind)
            kinds.push_back(record.kind);
    return kinds;
}

// Opens a FIFO for reading without blocking and waits (bounded) for a writer's line.
std::string ReadFifoLine(const std::string& path, std::chrono::milliseconds timeout)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string text;
    pollfd wait{fd, POLLIN, 0};
    while (text.find('\n') == std::string::npos && ::poll(&wait, 1, static_cast<int>(timeout.count())) > 0) {
        char buffer[64];
        const ssize_t got = ::read(fd, buffer, sizeof(buffer));
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return text;
}

class SetupWorkerTest : public testing::Test
{
protected:
    void SetUp() override { m_server.Start(); }

    SetupOptions Fast() const
    {
        SetupOptions options;
        options.retryPauseFirst = 20ms;
        options.retryPauseMax = 100ms;
        options.installerSlice = 50ms;
        options.bitness = 64;
        return options;
    }
    EmulatorInfo Emulator(const std::string& file) const
    {
        EmulatorInfo record;
        record.EmulatorId = "7";
        record.Name = u"Demo";
        record.Version = "1.0";
        record.Downloadurl = m_server.FileUrl(file);
        return record;
    }
    std::string PackageHost() const { return m_server.Url("/files/"); }

    TestFileServer m_server;
    TempFolder m_data;
    TempFolder m_work;
    MessageQueue m_window;
};

TEST_F(SetupWorkerTest, EmulatorPackageDownloadsUnpacksWithExecuteBitsAndReportsInOrder)
{
    const std::string package = MakeZip(m_work / "emu.zip", {{"bin/run.sh", "#!/bin/sh\nexit 0\n", 0755},
                                                             {"roms/big.bin", Noise(600 * 1024), 0644}});
    m_server.Put("emu.zip", package);
    test::WriteText(m_data / "Emulator.zip", "an older emulator's archive"); // deleted, not resumed
    const std::string folder = m_work / "Emulator/FC/Demo";

    SetupWorker worker(Emulator("emu.zip"), folder, m_data.Path(), Fast());
    ASSERT_NE(worker.Emulator(), nullptr);
    worker.Run(m_window.Handle());
    const std::vector<SetupProgress> records = Drain(m_window);

    EXPECT_TRUE(worker.Succeeded());
    EXPECT_EQ(worker.ErrorCode(), 0);
    EXPECT_EQ(KindRuns(records), (std::vector<int>{kSetupDownloading, kSetupUnpacking, kSetupFinished}));
    EXPECT_EQ(records.front().total, static_cast<double>(package.size()));
    EXPECT_EQ(records[records.size() - 2].now, records[records.size() - 2].total); // unpacking ends full
    EXPECT_EQ(m_server.RangesAsked("emu.zip"), std::vector<std::string>{""});
    EXPECT_EQ(test::ReadText(m_data / "Emulator.zip"), package); // kept until the next install
    EXPECT_EQ(fs::status(folder + "/bin/run.sh").permissions() & fs::perms::owner_exec,
              fs::perms::owner_exec);
    EXPECT_EQ(fs::status(folder + "/roms/big.bin").permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(fs::file_size(folder + "/roms/big.bin"), 600u * 1024u);
}

TEST_F(SetupWorkerTest, RuntimePackageResumesItsPartThenReusesTheCompleteArchive)
{
    const std::string package =
        MakeZip(m_work / "dx.zip", {{"DirectX9c.exe", "#!/bin/sh\necho \"$@\" > args.txt\n", 0755},
                                    {"payload.bin", Noise(300 * 1024), 0644}});
    m_server.Put("DirectX9c.zip", package);
    const std::size_t half = package.size() / 2;
    test::WriteText(m_data / "DirectX9c.zip", package.substr(0, half));
    SetupOptions options = Fast();
    options.runtimePackagesInstallable = true;

    SetupWorker worker(SetupTask::DirectX9c, PackageHost(), m_data.Path(), options);
    worker.Run(m_window.Handle());
    std::vector<SetupProgress> records = Drain(m_window);
    ASSERT_TRUE(worker.Succeeded()) << SetupErrorText(worker.ErrorCode());
    // Only the rest was asked for, and progress counts the part already on disk.
    EXPECT_EQ(m_server.RangesAsked("DirectX9c.zip"),
              std::vector<std::string>{"bytes=" + std::to_string(half) + "-"});
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.front().kind, kSetupDownloading);
    EXPECT_GT(records.front().now, static_cast<double>(half));
    EXPECT_EQ(records.front().total, static_cast<double>(package.size()));
    EXPECT_EQ(KindRuns(records),
              (std::vector<int>{kSetupDownloading, kSetupUnpacking, kSetupInstalling, kSetupFinished}));
    EXPECT_EQ(test::ReadText(m_data / "args.txt"), "/q\n"); // run in the data folder with its parameters
    EXPECT_FALSE(fs::exists(m_data / "DirectX9c.exe"));
    EXPECT_EQ(test::ReadText(m_data / "DirectX9c.zip"), package);

    // The next attempt finds the archive complete: no transfer, straight to unpacking.
    SetupWorker again(SetupTask::DirectX9c, PackageHost(), m_data.Path(), options);
    again.Run(m_window.Handle());
    records = Drain(m_window);
    EXPECT_TRUE(again.Succeeded());
    EXPECT_EQ(m_server.GetCount("DirectX9c.zip"), 1);
    EXPECT_EQ(KindRuns(records), (std::vector<int>{kSetupUnpacking, kSetupInstalling, kSetupFinished}));
}

TEST_F(SetupWorkerTest, AStalledTransferResumesFromTheBytesOnDisk)
{
    const std::string package = MakeZip(m_work / "emu.zip", {{"data.bin", Noise(256 * 1024), 0644}});
    m_server.Put("emu.zip", package);
    m_server.CloseGate("emu.zip", 64 * 1024);
    SetupOptions options = Fast();
    options.stallSeconds = 1;
    SetupWorker worker(Emulator("emu.zip"), m_work / "Emulator/FC/Demo", m_data.Path(), options);
    auto run = std::async(std::launch::async, [&] { worker.Run(m_window.Handle()); });
    // The probe, the stalled transfer, then the resumed one.
    ASSERT_TRUE(m_server.Http().WaitForRequests(3, 30s)); // libcurl notices a stall after a burst late
    m_server.ReleaseGate();
    ASSERT_EQ(run.wait_for(20s), std::future_status::ready);
    EXPECT_TRUE(worker.Succeeded()) << SetupErrorText(worker.ErrorCode());
    EXPECT_EQ(m_server.RangesAsked("emu.zip"), (std::vector<std::string>{"", "bytes=65536-"}));
    EXPECT_EQ(fs::file_size(m_work / "Emulator/FC/Demo/data.bin"), 256u * 1024u);
}

TEST_F(SetupWorkerTest, FailuresReportTheirCodes)
{
    // An error answer to the transfer is reported by its status.
    m_server.Put("gone.zip", "PK...", TestFileServer::Mode::GetNotFound);
    SetupWorker missing(Emulator("gone.zip"), m_work / "Emulator/FC/Demo", m_data.Path(), Fast());
    missing.Run(m_window.Handle());
    std::vector<SetupProgress> records = Drain(m_window);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].kind, kSetupError);
    EXPECT_EQ(records[0].code, 404);
    const EmulatorInfo* emulator = missing.Emulator();
    const SetupView view = ViewOfSetupProgress(SetupTask::Emulator, emulator, records[0]);
    EXPECT_EQ(view.status, "提示：错误");
    EXPECT_EQ(view.size, "错误代码=404");
    EXPECT_FALSE(missing.Succeeded());
    EXPECT_FALSE(fs::exists(m_work / "Emulator/FC/Demo"));

    // Nobody listens on the package host: the length cannot be had.
    TestFileServer closed;
    closed.Start();
    const std::string deadHost = closed.Url("/files/");
    closed.Http().Stop();
    SetupWorker unreachable(SetupTask::SelfUpdate, deadHost, m_data.Path(), Fast());
    unreachable.SetSelfUpdate({m_work / "install", "ravelo", 4242}, std::string());
    unreachable.Run(m_window.Handle());
    records = Drain(m_window);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].code, kSetupNoLength);
    EXPECT_EQ(unreachable.ErrorCode(), 1001);

    // A truncated archive fails to unpack and is deleted, so the next attempt fetches it again.
    const std::string package = MakeZip(m_work / "cut.zip", {{"a.bin", Noise(100 * 1024), 0644}});
    m_server.Put("cut.zip", package.substr(0, package.size() / 2));
    SetupWorker truncated(Emulator("cut.zip"), m_work / "Emulator/FC/Cut", m_data.Path(), Fast());
    truncated.Run(m_window.Handle());
    records = Drain(m_window);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().kind, kSetupError);
    EXPECT_EQ(records.back().code, kSetupUnpackFailed);
    EXPECT_FALSE(truncated.Succeeded());
    EXPECT_FALSE(fs::exists(m_data / "Emulator.zip"));

    // No web address for the emulator.
    EmulatorInfo local = Emulator("x.zip");
    local.Downloadurl = "file:///etc/passwd";
    SetupWorker noAddress(local, m_work / "Emulator/FC/X", m_data.Path(), Fast());
    noAddress.Run(m_window.Handle());
    EXPECT_EQ(noAddress.ErrorCode(), kSetupNoAddress);
}

TEST_F(SetupWorkerTest, RuntimePackagesAreRefusedOnThisSystemWithoutATransfer)
{
    for (int task = 1; task <= 6; ++task) {
        SetupWorker worker(static_cast<SetupTask>(task), PackageHost(), m_data.Path());
        worker.Run(m_window.Handle());
        const std::vector<SetupProgress> records = Drain(m_window);
        ASSERT_EQ(records.size(), 1u) << task;
        EXPECT_EQ(records[0].kind, kSetupError);
        EXPECT_EQ(records[0].code, kSetupWindowsOnly);
        EXPECT_FALSE(worker.Succeeded());
    }
    EXPECT_TRUE(m_server.Http().Requests().empty());
}

TEST_F(SetupWorkerTest, CancelEndsAStalledDownloadPromptly)
{
    const std::string package = Noise(512 * 1024);
    m_server.Put("Update.zip", package);
    m_server.CloseGate("Update.zip", 64 * 1024); // then nothing more arrives
    SetupWorker worker(SetupTask::SelfUpdate, PackageHost(), m_data.Path(), Fast());
    worker.SetSelfUpdate({m_work / "install", "ravelo", 4242}, std::string());
    auto run = std::async(std::launch::async, [&] { worker.Run(m_window.Handle()); });
    ASSERT_TRUE(m_server.WaitAtGate());
    const auto cancelled = std::chrono::steady_clock::now();
    worker.Cancel();
    ASSERT_EQ(run.wait_for(10s), std::future_status::ready);
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, 3s);
    m_server.ReleaseGate();
    const std::vector<SetupProgress> records = Drain(m_window);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().kind, kSetupError);
    EXPECT_EQ(records.back().code, 23); // what a cancelled transfer reports
    EXPECT_FALSE(worker.Succeeded());
}

TEST_F(SetupWorkerTest, SelfUpdateChecksThePackageUnpacksItApartAndHandsOverToItsUpdater)
{
    ASSERT_EQ(::mkfifo((m_data / "started").c_str(), 0600), 0);
    // The updater blocks until the test reads its line, which happens only after Run returned.
    const std::string package =
        MakeZip(m_work / "up.zip", {{"ravelo-update", "#!/bin/sh\necho \"$@\" > ../started\n", 0755},
                                    {"program/ravelo", "the new program", 0755}});
    m_server.Put("Update.zip", package);
    test::WriteText(m_data / "RaveloUpdate.zip", package.substr(0, 10)); // an old part: fetched afresh
    fs::create_directories(m_data / "update");
    test::WriteText(m_data / "update/stale.txt", "left by an older package");
    const std::string sum = FileSha256Hex(m_work / "up.zip").value_or("");
    ASSERT_EQ(sum.size(), 64u);

    SetupWorker worker(SetupTask::SelfUpdate, PackageHost(), m_data.Path(), Fast());
    worker.SetSelfUpdate({m_work / "install", "ravelo", 4242}, sum);
    worker.Run(m_window.Handle());
    const std::vector<SetupProgress> records = Drain(m_window);
    EXPECT_TRUE(worker.Succeeded()) << SetupErrorText(worker.ErrorCode());
    EXPECT_EQ(m_server.RangesAsked("Update.zip"), std::vector<std::string>{""});
    EXPECT_EQ(ReadFifoLine(m_data / "started", 10s),
              "--install " + (m_work / "install") + "/ --wait 4242 --start ravelo\n");
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().kind, kSetupFinished);
    EXPECT_TRUE(ViewOfSetupProgress(SetupTask::SelfUpdate, nullptr, records.back()).closeAsUpdated);
    EXPECT_FALSE(fs::exists(m_data / "RaveloUpdate.zip"));
    EXPECT_EQ(test::ReadText(m_data / "update/program/ravelo"), "the new program");
    EXPECT_TRUE(fs::exists(m_data / "update/ravelo-update")); // the updater is not deleted
    EXPECT_FALSE(fs::exists(m_data / "update/stale.txt"));
}

TEST_F(SetupWorkerTest, SelfUpdateRefusesAPackageThatIsNotTheOneTheAnswerNamed)
{
    const std::string package =
        MakeZip(m_work / "up.zip", {{"ravelo-update", "#!/bin/sh\necho started > ../started\n", 0755}});
    m_server.Put("Update.zip", package);
    SetupWorker worker(SetupTask::SelfUpdate, PackageHost(), m_data.Path(), Fast());
    worker.SetSelfUpdate({m_work / "install", "ravelo", 4242}, std::string(64, 'a'));
    worker.Run(m_window.Handle());
    const std::vector<SetupProgress> records = Drain(m_window);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().kind, kSetupError);
    EXPECT_EQ(records.back().code, kSetupChecksumMismatch);
    EXPECT_FALSE(worker.Succeeded());
    // Deleted unopened: nothing unpacked, nothing started.
    EXPECT_FALSE(fs::exists(m_data / "RaveloUpdate.zip"));
    EXPECT_FALSE(fs::exists(m_data / "update"));
    EXPECT_FALSE(fs::exists(m_data / "started"));

    // Without an install to hand over to, the self-update does not even fetch.
    SetupWorker nowhere(SetupTask::SelfUpdate, PackageHost(), m_data.Path(), Fast());
    nowhere.Run(m_window.Handle());
    EXPECT_EQ(nowhere.ErrorCode(), kSetupNotPortable);
    EXPECT_EQ(m_server.GetCount("Update.zip"), 1);
}

TEST_F(SetupWorkerTest, InstallerIsWaitedForInStepsAlsoAfterACancel)
{
    ASSERT_EQ(::mkfifo((m_data / "release").c_str(), 0600), 0);
    const std::string installer = "Microsoft Visual C++ 2010 SP1 Redistributable Package (x64).exe";
    const std::string package = MakeZip(
        m_work / "vc.zip", {{installer, "#!/bin/sh\nread line < release\necho done > finished\n", 0755}});
    m_server.Put("vc2010_x64.zip", package);
    SetupOptions options = Fast();
    options.runtimePackagesInstallable = true;
    SetupWorker worker(SetupTask::Vc2010, PackageHost(), m_data.Path(), options);
    std::atomic<bool> returned{false};
    std::thread runner([&] {
        worker.Run(m_window.Handle());
        returned = true;
    });

    // Steps 10 ... 100, then 0 again, before each wait for the installer.
    std::vector<double> steps;
    while (steps.size() < 13) {
        std::optional<Message> message = m_window.WaitFor(WM_SETUP_PROGRESS, 10s);
        ASSERT_TRUE(message);
        const std::unique_ptr<SetupProgress> record = message->TakePayload<SetupProgress>();
        ASSERT_TRUE(record);
        if (record->kind == kSetupInstalling)
            steps.push_back(record->now);
    }
    EXPECT_EQ(steps, (std::vector<double>{100, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0, 10}));
    worker.Cancel();
    EXPECT_FALSE(returned.load()); // still waiting for the installer
    {
        const int fd = ::open((m_data / "release").c_str(), O_WRONLY | O_CLOEXEC); // the installer reads it
        ASSERT_GE(fd, 0);
        EXPECT_EQ(::write(fd, "go\n", 3), 3);
        ::close(fd);
    }
    runner.join();
    EXPECT_TRUE(fs::exists(m_data / "finished")); // Run returned after the installer ended
    EXPECT_TRUE(worker.Succeeded());
    const std::vector<SetupProgress> rest = Drain(m_window);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back().kind, kSetupFinished);
    EXPECT_FALSE(fs::exists(m_data / installer));
}

} // namespace
} // namespace ravelo
