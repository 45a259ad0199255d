#include "update/SetupWorker.h"

#include "download/CZip.h"
#include "download/ResumableTransfer.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/Md5.h"
#include "platform/Process.h"
#include "service/HttpTransport.h"
#include "update/SetupErrorText.h"
#include "update/SetupProgress.h"
#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace ravelo {
namespace {

// Network trouble after which the transfer resumes from the bytes on disk.
bool IsResumable(int curlCode)
{
    return curlCode == CURLE_OPERATION_TIMEDOUT || curlCode == CURLE_RANGE_ERROR ||
           curlCode == CURLE_GOT_NOTHING || curlCode == CURLE_RECV_ERROR || curlCode == CURLE_PARTIAL_FILE;
}

bool IsWebAddress(const std::string& url)
{
    return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

constexpr int kMaxRefusedRanges = 3;

} // namespace

SetupWorker::SetupWorker(SetupTask task, std::string packageHost, std::string dataFolder,
                         SetupOptions options)
    : m_task(task), m_packageHost(std::move(packageHost)), m_dataFolder(WithTrailingSeparator(dataFolder)),
      m_options(options)
{
    m_bitness = m_options.bitness ? m_options.bitness : GetOsBitness();
}

SetupWorker::SetupWorker(EmulatorInfo emulator, std::string emulatorFolder, std::string dataFolder,
                         SetupOptions options)
    : SetupWorker(SetupTask::Emulator, std::string(), std::move(dataFolder), options)
{
    m_emulator = std::move(emulator);
    m_emulatorFolder = std::move(emulatorFolder);
}

void SetupWorker::SetSelfUpdate(SelfUpdateHandOff handOff, std::string expectedSha256)
{
    handOff.installFolder = WithTrailingSeparator(handOff.installFolder);
    m_handOff = std::move(handOff);
    m_expectedSha256 = std::move(expectedSha256);
}

bool SetupWorker::IsApplicable() const
{
    return IsSetupApplicable(m_task, m_options);
}

std::string SetupWorker::ArchivePath() const
{
    return m_dataFolder + LocalArchiveName(m_task);
}

void SetupWorker::Run(WindowHandle receiver)
{
    m_receiver = receiver;
    m_succeeded = false;
    m_errorCode = 0;
    if (const int code = RunSteps()) {
        m_errorCode = code;
        Post(kSetupError, 0, 0, code);
    }
}

void SetupWorker::Cancel()
{
    {
        std::lock_guard lock(m_cancelLock);
        m_cancel = true;
    }
    m_cancelled.notify_all();
}

int SetupWorker::RunSteps()
{
    // The runtime packages are Windows installers: nothing here could run them.
    if (!IsApplicable())
        return kSetupWindowsOnly;
    const bool selfUpdate = m_task == SetupTask::SelfUpdate;
    if (selfUpdate && (!m_handOff || m_handOff->installFolder.empty() || m_handOff->program.empty()))
        return kSetupNotPortable;

    const bool emulator = m_task == SetupTask::Emulator;
    const std::string url =
        emulator ? m_emulator.Downloadurl : PackageAddress(m_packageHost, m_task, m_bitness);
    if (!IsWebAddress(url))
        return kSetupNoAddress;
    if (emulator && m_emulatorFolder.empty())
        return kSetupCannotCreateFile;

    const std::string archive = ArchivePath();
    // The updater and an emulator are fetched afresh; an old runtime archive is the same package and
    // is resumed or reused.
    if (selfUpdate || emulator)
        std::remove(archive.c_str());
    if (const int code = Download(url, archive))
        return code;
    if (m_cancel)
        return CURLE_WRITE_ERROR; // what a cancelled transfer reports

    if (selfUpdate && !m_expectedSha256.empty()) {
        const std::optional<std::string> sum = FileSha256Hex(archive);
        if (!sum || *sum != m_expectedSha256) {
            DebugOutput("setup: the update package does not match its checksum " + m_expectedSha256);
            std::remove(archive.c_str());
            return kSetupChecksumMismatch;
        }
    }
    if (selfUpdate) {
        // A folder of its own, emptied first, so that nothing of an older package mixes in.
        std::error_code ignored;
        std::filesystem::remove_all(UpdateFolder(), ignored);
    }
    const std::string destination = emulator ? m_emulatorFolder : selfUpdate ? UpdateFolder() : m_dataFolder;
    if (const int code = Unpack(archive, destination))
        return code;
    if (emulator) {
        m_succeeded = true;
        Post(kSetupFinished, 0, 0);
        return 0;
    }
    if (selfUpdate) {
        std::remove(archive.c_str());
        return StartUpdater();
    }
    return Install();
}

int SetupWorker::Download(const std::string& url, const std::string& archive)
{
    std::string finalUrl;
    double remoteLength = -1;
    if (!ResolveFinalUrl(url, finalUrl, remoteLength) || remoteLength < 0)
        return kSetupNoLength;
    const auto remote = static_cast<std::int64_t>(remoteLength);

    auto pause = m_options.retryPauseFirst;
    int idle = 0;
    int refusedRanges = 0;
    for (;;) {
        if (m_cancel)
            return CURLE_WRITE_ERROR;
        std::int64_t have = LocalFileLength(archive);
        if (have == remote)
            return 0;
        if (have > remote) {
            // Longer than the package: not a part of it (the package changed); start it again.
            if (::truncate(archive.c_str(), 0) != 0)
                return kSetupCannotCreateFile;
            have = 0;
        }

        TransferRequest request;
        request.url = url;
        request.path = archive;
        request.filePosition = have;
        request.resumeOffset = have;
        request.stop = &m_cancel;
        request.connectTimeoutSeconds = m_options.connectTimeoutSeconds;
        request.totalTimeoutSeconds = 0; // a stall ends a piece, not the clock
        request.stallSeconds = m_options.stallSeconds;
        request.progress = [this, have](std::int64_t received, std::int64_t expected) {
            if (expected > 0 && m_throttle.Admit(ProgressThrottle::Clock::now(), received >= expected))
                Post(kSetupDownloading, static_cast<double>(have + received),
                     static_cast<double>(have + expected));
        };
        const TransferOutcome outcome = RunResumableTransfer(request);
        if (outcome.openFailed)
            return kSetupCannotCreateFile;
        if (outcome.stopped || m_cancel || outcome.writeFailed)
            return CURLE_WRITE_ERROR;
        if (outcome.rangeRefused) {
            // Another range than asked for: take the package again from its start.
            if (++refusedRanges > kMaxRefusedRanges)
                return CURLE_RANGE_ERROR;
            if (::truncate(archive.c_str(), 0) != 0)
                return kSetupCannotCreateFile;
            continue;
        }
        if (outcome.httpStatus != 0 && outcome.httpStatus != 200 && outcome.httpStatus != 206)
            return static_cast<int>(outcome.httpStatus);
        if (outcome.curlCode == CURLE_OK) {
            if (outcome.httpStatus == 206 && LocalFileLength(archive) != remote)
                return 206;
            return 0;
        }
        if (!IsResumable(outcome.curlCode))
            return outcome.curlCode;
        if (outcome.bytesWritten > 0) {
            idle = 0;
            pause = m_options.retryPauseFirst;
        } else if (++idle > m_options.idleRetries) {
            return outcome.curlCode;
        }
        DebugOutput("setup: resuming " + url + " after error " + std::to_string(outcome.curlCode));
        if (!WaitUnlessCancelled(pause))
            return CURLE_WRITE_ERROR;
        pause = std::min(pause * 2, m_options.retryPauseMax);
    }
}

int SetupWorker::Unpack(const std::string& archive, const std::string& destination)
{
    CreateFolderChain(WithTrailingSeparator(destination));
    CZip zip;
    zip.SetExtractProgressFun([this](std::int64_t done, std::int64_t total) {
        Post(kSetupUnpacking, static_cast<double>(done), static_cast<double>(total));
    });
    if (zip.ZipExtract(archive, destination) != 1) {
        DebugOutput("setup: unpacking " + archive + ": " + zip.LastError());
        // A broken archive is fetched again by the next attempt.
        std::remove(archive.c_str());
        return kSetupUnpackFailed;
    }
    // The extraction reports at most every 50 ms: close the bar at its end.
    const auto total = static_cast<double>(zip.TotalBytes());
    Post(kSetupUnpacking, total, total);
    return 0;
}

int SetupWorker::StartUpdater()
{
    Post(kSetupInstalling, 100, 100);
    if (m_cancel)
        return CURLE_WRITE_ERROR; // cancelled before the hand-off: the program stays as it is
    ProcessStart start;
    start.program = UpdateFolder() + InstallerName(m_task, m_bitness);
    start.arguments = UpdaterArguments(*m_handOff);
    start.workingFolder = UpdateFolder();
    Process updater;
    std::string why;
    if (!updater.Start(start, &why)) {
        DebugOutput("setup: " + start.program + ": " + why);
        return kSetupInstallerNotStarted;
    }
    // The updater waits for this program to end and replaces it: it is neither waited for nor deleted.
    m_succeeded = true;
    Post(kSetupFinished, 0, 0);
    return 0;
}

int SetupWorker::Install()
{
    Post(kSetupInstalling, 100, 100);
    if (m_cancel)
        return CURLE_WRITE_ERROR; // cancelled before anything was started: start nothing
    const std::string installer = m_dataFolder + InstallerName(m_task, m_bitness);
    ProcessStart start;
    start.program = installer;
    start.arguments = SplitParameters(InstallerParameters(m_task));
    start.workingFolder = m_dataFolder;
    Process process;
    std::string why;
    if (!process.Start(start, &why)) {
        DebugOutput("setup: " + installer + ": " + why);
        return kSetupInstallerNotStarted;
    }
    // Waited for even after a cancel: the package must not be left half installed.
    for (int step = 10;; step = step == 100 ? 0 : step + 10) {
        Post(kSetupInstalling, step, 100);
        if (process.WaitFor(m_options.installerSlice))
            break;
    }
    m_succeeded = true;
    Post(kSetupFinished, 0, 0);
    std::remove(installer.c_str());
    return 0;
}

bool SetupWorker::WaitUnlessCancelled(std::chrono::milliseconds pause)
{
    std::unique_lock lock(m_cancelLock);
    return !m_cancelled.wait_for(lock, pause, [this] { return m_cancel.load(); });
}

void SetupWorker::Post(std::int32_t kind, double now, double total, std::int32_t code)
{
    auto record = std::make_unique<SetupProgress>();
    record->now = now;
    record->total = total;
    record->kind = kind;
    record->code = code;
    PostMessage(m_receiver, WM_SETUP_PROGRESS, 0, std::move(record));
}

} // namespace ravelo
