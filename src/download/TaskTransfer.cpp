#include "download/TaskTransfer.h"

#include "download/CloudLinkResolver.h"
#include "download/DownloadAddresses.h"
#include "download/DownloadMessages.h"
#include "download/DownloadNotifier.h"
#include "download/DownloadPrompts.h"
#include "download/DownloadResult.h"
#include "download/ResumableTransfer.h"
#include "platform/DebugOutput.h"
#include "platform/Md5.h"
#include "service/HttpTransport.h"
#include "settings/AppPaths.h"
#include "store/LibraryDatabase.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <curl/curl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ravelo {
namespace {

using Clock = std::chrono::steady_clock;

/// Internal: the archive is shorter than the volumes before the one being fetched (cut or deleted by
/// hand); the volumes start again from its first missing byte. Never stored as a task's result.
constexpr int kEarlierVolumesMissing = -1;

constexpr long kRangeNotSatisfiable = 416;

bool IsRetryable(int curlCode)
{
    return curlCode == CURLE_OPERATION_TIMEDOUT || curlCode == CURLE_RECV_ERROR ||
           curlCode == CURLE_GOT_NOTHING || curlCode == CURLE_RANGE_ERROR || curlCode == CURLE_PARTIAL_FILE;
}

std::string LengthText(double length)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.0lf", length);
    return text;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

class TaskTransfer
{
public:
    TaskTransfer(DownloadTask& task, TransferContext& context, const TransferEnvironment& environment)
        : m_task(task), m_info(task.info), m_context(context), m_env(environment),
          m_options(*environment.options)
    {
    }

    int Run() { return m_info.Volume == "1" ? RunVolumes() : RunSingle(); }

    /// The last answer an address gave to its probe (empty when every probe was answered).
    const TransferError& LastProbe() const { return m_lastProbe; }

private:
    std::string ArchivePath() const { return m_info.FilePath + m_info.FileName; }

    int RunSingle()
    {
        const bool cloud = m_info.Reserved2 == kSourceCloudDrive;
        const std::vector<std::string>& list =
            m_info.Reserved2 == kSourceUnpacked ? m_info.Reserved1 : m_info.UrlList;
        std::string url;
        double length = -1;
        // The transfer loop needs the remote length: an address that does not tell it is asked again,
        // and when it still does not, the address is chosen again.
        for (int round = 1;; ++round) {
            const bool found =
                cloud ? ChooseCloudAddress(url, length) : ChooseServerAddress(list, url, length);
            if (m_context.stop)
                return kResultStopped;
            if (!found)
                return kResultNoAddress;
            if (length < 0 && WaitOrStop(m_options.probePause))
                length = ProbeLength(url, !cloud);
            if (m_context.stop)
                return kResultStopped;
            if (length >= 0)
                break;
            DebugOutput("download: no length for " + url);
            if (round >= m_options.probeTries)
                return kResultNoLength;
        }
        m_followRedirects = !cloud;
        StoreLength(m_info.FileLenth, length);
        const int result = DownloadInto(url, length, 0);
        StoreLength(m_info.FileLenth, length);
        return result != kResultOk ? result : Complete();
    }

    int RunVolumes()
    {
        const bool cloud = m_info.Reserved2 == kSourceCloudDrive;
        const DownloadInfo::VolumeSets& sets = cloud ? m_info.VolumePanUrlList : m_info.VolumeUrlList;
        int setIndex = -1;
        for (const auto& [number, volumes] : sets)
            if (!volumes.empty()) {
                setIndex = number;
                break;
            }
        if (setIndex < 0)
            return kResultNoVolumeAddress;
        const int count = static_cast<int>(sets.at(setIndex).size());
        m_context.multiVolume = 1;
        m_context.volumeCount = count;
        m_followRedirects = !cloud;

        for (;;) {
            if (m_context.stop)
                return kResultStopped;
            const int volume = FirstIncompleteVolume(count);
            if (volume > count)
                return Complete();
            m_context.currentVolume = volume;
            std::string url;
            double length = -1;
            if (const int result = VolumeSource(cloud, setIndex, volume, url, length))
                return result;
            StoreLength(m_info.VolumeFileLenth[volume], length);
            const int result = DownloadInto(url, length, EarlierVolumesLength(volume));
            StoreLength(m_info.VolumeFileLenth[volume], length);
            if (result != kResultOk && result != kEarlierVolumesMissing)
                return result;
        }
    }

    /// The volume that holds the archive's first missing byte (count + 1 when every volume is there).
    /// Known lengths past it are dropped: each volume measures its length again when it starts.
    int FirstIncompleteVolume(int count)
    {
        const std::int64_t local = LocalFileLength(ArchivePath());
        std::int64_t end = 0;
        int volume = 1;
        for (; volume <= count; ++volume) {
            const auto known = m_info.VolumeFileLenth.find(volume);
            if (known == m_info.VolumeFileLenth.end())
                break;
            end += std::strtoll(known->second.c_str(), nullptr, 10);
            if (end > local)
                break;
        }
        if (volume > count && end < local)
            volume = count; // longer than every volume together: the last one starts again
        const auto later = m_info.VolumeFileLenth.upper_bound(volume);
        if (later != m_info.VolumeFileLenth.end()) {
            m_info.VolumeFileLenth.erase(later, m_info.VolumeFileLenth.end());
            SaveRow();
        }
        return volume;
    }

    std::int64_t EarlierVolumesLength(int volume) const
    {
        std::int64_t sum = 0;
        for (const auto& [number, text] : m_info.VolumeFileLenth)
            if (number < volume)
                sum += std::strtoll(text.c_str(), nullptr, 10);
        return sum;
    }

    /// The address of one volume and its remote length. A resolved cloud-drive link that no longer
    /// answers has expired: the volume's share link is resolved once more.
    int VolumeSource(bool cloud, int setIndex, int volume, std::string& url, double& length)
    {
        const auto fail = [&](int result) {
            return m_context.stop ? static_cast<int>(kResultStopped) : result;
        };
        if (!cloud) {
            const auto& set = m_info.VolumeUrlList[setIndex];
            const auto it = set.find(volume);
            if (it == set.end() || it->second.empty())
                return kResultNoVolumeAddress;
            url = it->second;
            length = ProbeLength(url, true);
            return length < 0 ? fail(kResultNoLength) : kResultOk;
        }
        auto& resolved = m_info.VolumePanRealUrlList[setIndex];
        if (const auto it = resolved.find(volume); it != resolved.end() && !it->second.empty()) {
            length = ProbeLength(it->second, false);
            if (length >= 0) {
                url = it->second;
                return kResultOk;
            }
            if (m_context.stop)
                return kResultStopped;
            resolved.erase(volume);
            SaveRow();
        }
        const auto& links = m_info.VolumePanUrlList[setIndex];
        const auto link = links.find(volume);
        std::string direct;
        if (link == links.end() || !ResolveShareLink(link->second, direct))
            return fail(kResultNoVolumeAddress);
        resolved[volume] = direct;
        SaveRow();
        length = ProbeLength(direct, false);
        if (length < 0)
            return fail(kResultNoLength);
        url = direct;
        return kResultOk;
    }

    // Cloud drive: the resolved links when there are, else the share links, else the direct list.
    bool ChooseCloudAddress(std::string& url, double& length)
    {
        if (m_info.PanUrlList.empty())
            return FirstAnswering(m_info.UrlList, url, length);
        if (!m_info.PanRealUrlList.empty()) {
            if (FirstAnswering(m_info.PanRealUrlList, url, length))
                return true;
            // Resolved links expire: forget them and resolve the share links once more.
            m_info.PanRealUrlList.clear();
            SaveRow();
        }
        for (const std::string& link : m_info.PanUrlList) {
            if (m_context.stop)
                return false;
            std::string direct;
            if (!ResolveShareLink(link, direct))
                continue;
            m_info.PanRealUrlList.push_back(direct);
            SaveRow();
            length = ProbeLength(direct, false);
            if (length >= 0) {
                url = direct;
                return true;
            }
        }
        return false;
    }

    bool FirstAnswering(const std::vector<std::string>& list, std::string& url, double& length)
    {
        for (const std::string& candidate : list) {
            if (m_context.stop)
                return false;
            length = ProbeLength(candidate, false);
            if (length >= 0) {
                url = candidate;
                return true;
            }
        }
        return false;
    }

    // The program's servers: each address is walked to its final address, which must answer 200.
    bool ChooseServerAddress(const std::vector<std::string>& list, std::string& url, double& length)
    {
        using std::chrono::milliseconds;
        for (const std::string& candidate : list) {
            for (const milliseconds pause : {milliseconds(0), milliseconds(10), milliseconds(100)}) {
                if (m_context.stop || !WaitOrStop(pause))
                    return false;
                TransferError answer;
                if (ResolveFinalUrl(candidate, url, length, &answer))
                    return true;
                m_lastProbe = answer;
            }
        }
        return false;
    }

    double ProbeLength(const std::string& url, bool followRedirects)
    {
        for (int attempt = 0; attempt < m_options.probeTries; ++attempt) {
            if (attempt > 0 && !WaitOrStop(m_options.probePause))
                return -1;
            double length = -1;
            TransferError answer;
            if (followRedirects) {
                std::string finalUrl;
                if (!ResolveFinalUrl(url, finalUrl, length, &answer))
                    length = -1;
            } else {
                length = GetContentLength(url, &answer);
            }
            if (length >= 0)
                return length;
            if (answer.Failed())
                m_lastProbe = answer;
        }
        return -1;
    }

    bool ResolveShareLink(const std::string& link, std::string& direct)
    {
        const CloudDriveHosts hosts =
            m_options.cloudDriveHosts ? m_options.cloudDriveHosts() : LoadCloudDriveHosts();
        DownloadPrompts* prompts = m_env.prompts ? *m_env.prompts : nullptr;
        CloudLinkResolver resolver(link, DataFolder + m_info.GameId + ".jpg", hosts, prompts);
        return resolver.Resolve(direct);
    }

    // Loops until the content at url sits complete in the archive after `base` bytes. remoteLength
    // is updated when the server's length turns out to have changed.
    int DownloadInto(const std::string& url, double& remoteLength, std::int64_t base)
    {
        const std::string path = ArchivePath();
        auto pause = m_options.retryPauseFirst;
        int refusedRanges = 0;
        for (;;) {
            if (m_context.stop)
                return kResultStopped;
            const std::int64_t local = LocalFileLength(path);
            if (local < base)
                return kEarlierVolumesMissing; // never fill the gap with zeros
            const auto remote = static_cast<std::int64_t>(remoteLength);
            std::int64_t have = local - base;
            if (remoteLength >= 0 && have == remote)
                return kResultOk;
            if (remoteLength >= 0 && have > remote)
                have = 0; // longer than the remote content: start it again
            m_context.resumeOffset = have;

            TransferRequest request;
            request.url = url;
            request.path = path;
            request.filePosition = base + have;
            request.resumeOffset = have;
            request.stop = &m_context.stop;
            request.connectTimeoutSeconds = m_options.connectTimeoutSeconds;
            request.totalTimeoutSeconds = m_options.transferTimeoutSeconds;
            request.progress = [&](std::int64_t received, std::int64_t expected) {
                ReportProgress(have + received, have + expected);
            };
            const TransferOutcome outcome = RunResumableTransfer(request);
            if (outcome.shortFile)
                continue; // the file shrank meanwhile: measure it again
            if (outcome.openFailed)
                return kResultCannotCreateFile;
            if (outcome.writeFailed)
                return kResultDiskFull;
            if (outcome.stopped || m_context.stop)
                return kResultStopped;
            if (outcome.rangeRefused) {
                // The server answered another range than asked: take the content again from its start.
                if (++refusedRanges > 3)
                    return CURLE_RANGE_ERROR;
                ::truncate(path.c_str(), base);
                continue;
            }
            if (outcome.httpStatus == kRangeNotSatisfiable && have > 0 && refusedRanges++ < 3) {
                // Nothing past our bytes: ours are whole, or the content changed. Ask its length again.
                const double again = ProbeLength(url, m_followRedirects);
                if (again >= 0) {
                    remoteLength = again;
                    if (static_cast<std::int64_t>(again) != have)
                        ::truncate(path.c_str(), base);
                    continue;
                }
            }
            if (outcome.bytesWritten > 0)
                pause = m_options.retryPauseFirst;
            if (outcome.httpStatus != 0 && outcome.httpStatus != 200 && outcome.httpStatus != 206) {
                DebugOutput("\nhttp 返回代码 = " + std::to_string(outcome.httpStatus) + "\n");
                return static_cast<int>(outcome.httpStatus);
            }
            if (outcome.curlCode == CURLE_OK) {
                if (outcome.httpStatus == 200)
                    return kResultOk;
                continue; // 206: measure again and go on
            }
            if (!IsRetryable(outcome.curlCode))
                return outcome.curlCode;
            // Network trouble: wait a growing pause, resume from the bytes on disk.
            if (!WaitOrStop(pause))
                return kResultStopped;
            pause = std::min(pause * 2, m_options.retryPauseMax);
        }
    }

    int Complete()
    {
        const std::string archive = ArchivePath();
        if (!m_info.Reserved3.empty() && m_info.Reserved2 != kSourceUnpacked) {
            const std::optional<std::string> md5 = FileMd5Hex(archive);
            if (!md5 || !EqualsIgnoringCase(*md5, m_info.Reserved3)) {
                DebugOutput("download: checksum mismatch for " + archive);
                std::remove(archive.c_str());
                m_info.VolumeFileLenth.clear();
                SaveRow();
                return kResultChecksumMismatch;
            }
        }
        if (m_info.NeedUnZip != "1")
            return kResultOk;

        bool begun = false;
        m_env.underTaskLock([&] {
            if (m_context.stop)
                return; // stopped just as the last byte arrived: unpack when started again
            m_context.unpacking = true;
            m_task.requestedStatus = TaskStatus::Unpacking;
            begun = true;
        });
        if (!begun)
            return kResultStopped;
        if (m_options.beforeUnpack)
            m_options.beforeUnpack(m_info.GameId);
        m_context.zip.SetExtractProgressFun([this](std::int64_t done, std::int64_t total) {
            Post(TaskStatus::Unpacking, static_cast<double>(done), static_cast<double>(total));
        });
        struct stat before
        {
        };
        const bool known = ::stat(archive.c_str(), &before) == 0;
        const bool ok = m_context.zip.ZipExtract(archive, m_info.FilePath) == 1;
        m_env.underTaskLock([&] { m_context.unpacking = false; });
        if (ok) {
            // An arcade set may carry the archive's own name: then the unpacked set took its place
            // and is the game, not the archive.
            struct stat after
            {
            };
            if (known && ::stat(archive.c_str(), &after) == 0 && after.st_ino == before.st_ino &&
                after.st_dev == before.st_dev)
                std::remove(archive.c_str());
            if (m_options.afterUnpack)
                m_options.afterUnpack(m_info.GameId);
            return kResultOk;
        }
        if (m_context.zip.WasStopped())
            return kResultStopped;
        return m_context.zip.WriteFailed() ? kResultDiskFull : kResultUnpackFailed;
    }

    void ReportProgress(std::int64_t done, std::int64_t total)
    {
        const auto now = Clock::now();
        if (now - m_lastReport < std::chrono::milliseconds(50))
            return;
        m_lastReport = now;
        Post(TaskStatus::Downloading, static_cast<double>(done), static_cast<double>(total));
    }

    void Post(TaskStatus state, double done, double total)
    {
        auto record = std::make_unique<DownloadProgress>();
        record->gameId = m_info.GameId;
        record->done = done;
        record->total = total;
        record->item = m_task.item;
        record->state = state;
        record->multiVolume = m_context.multiVolume;
        record->currentVolume = m_context.currentVolume;
        record->volumeCount = m_context.volumeCount;
        record->totalSize = m_info.TotalSize;
        if (m_env.listeners)
            m_env.listeners->NotifyProgress(*record);
        PostMessage(*m_env.window, UM_DOWNLOAD_PROGRESS, 0, std::move(record));
    }

    /// Keeps a measured remote length in the row, saving it when it changed.
    void StoreLength(std::string& stored, double length)
    {
        if (length < 0 || stored == LengthText(length))
            return;
        stored = LengthText(length);
        SaveRow();
    }

    void SaveRow() { m_env.database->PostWait(DbOperation::UpdateDownload, DbArgument(m_info)); }

    bool WaitOrStop(std::chrono::milliseconds pause) { return m_context.PauseUnlessStopped(pause); }

    DownloadTask& m_task;
    DownloadInfo& m_info;
    TransferContext& m_context;
    const TransferEnvironment& m_env;
    const DownloadOptions& m_options;
    Clock::time_point m_lastReport{};
    TransferError m_lastProbe;
    bool m_followRedirects = true;
};

} // namespace

void RunTaskTransfer(DownloadTask& task, TransferContext& context, const TransferEnvironment& environment)
{
    int result = kResultOk;
    TransferError lastProbe;
    try {
        TaskTransfer transfer(task, context, environment);
        result = transfer.Run();
        lastProbe = transfer.LastProbe();
    } catch (const std::exception& e) {
        DebugOutput(std::string("download: ") + e.what());
        result = kResultUnpackFailed;
    }
    const TaskStatus outcome = result == kResultOk        ? TaskStatus::Finished
                               : result == kResultStopped ? TaskStatus::Stopped
                                                          : TaskStatus::Failed;
    environment.underTaskLock([&] {
        task.result = result;
        task.lastProbe = lastProbe;
        task.requestedStatus = outcome;
        --*environment.running;
        context.finished = true;
    });
}

} // namespace ravelo
