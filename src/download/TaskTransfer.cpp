#include "download/TaskTransfer.h"

#include "download/CloudLinkResolver.h"
#include "download/DownloadAddresses.h"
#include "download/DownloadMessages.h"
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
#include <condition_variable>
#include <cstdio>
#include <curl/curl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace ravelo {
namespace {

using Clock = std::chrono::steady_clock;

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

class TaskTransfer
{
public:
    TaskTransfer(DownloadTask& task, TransferContext& context, const TransferEnvironment& environment)
        : m_task(task), m_info(task.info), m_context(context), m_env(environment),
          m_options(*environment.options)
    {
    }

    int Run()
    {
        if (m_info.Volume == "1")
            return RunVolumes();
        return RunSingle();
    }

private:
    std::string ArchivePath() const { return m_info.FilePath + m_info.FileName; }

    int RunSingle()
    {
        std::string url;
        double length = -1;
        const bool found =
            m_info.Reserved2 == kSourceCloudDrive
                ? ChooseCloudAddress(url, length)
                : ChooseServerAddress(m_info.Reserved2 == kSourceUnpacked ? m_info.Reserved1 : m_info.UrlList,
                                      url, length);
        if (m_context.stop)
            return kResultStopped;
        if (!found)
            return kResultNoAddress;
        if (length >= 0 && m_info.FileLenth != LengthText(length)) {
            m_info.FileLenth = LengthText(length);
            SaveRow();
        }
        if (const int result = DownloadInto(url, length, 0))
            return result;
        return Complete();
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

        if (AllVolumesOnDisk(count))
            return Complete();
        const int first =
            m_info.VolumeFileLenth.empty() ? 1 : static_cast<int>(m_info.VolumeFileLenth.size());
        for (int volume = std::max(first, 1); volume <= count; ++volume) {
            m_context.currentVolume = volume;
            std::string url;
            if (!VolumeAddress(cloud, setIndex, volume, url))
                return m_context.stop ? kResultStopped : kResultNoVolumeAddress;
            const double length = ProbeLength(url, !cloud);
            if (length < 0)
                return m_context.stop ? kResultStopped : kResultNoLength;
            if (m_info.VolumeFileLenth[volume] != LengthText(length)) {
                m_info.VolumeFileLenth[volume] = LengthText(length);
                SaveRow();
            }
            if (const int result = DownloadInto(url, length, EarlierVolumesLength(volume)))
                return result;
        }
        return Complete();
    }

    bool AllVolumesOnDisk(int count) const
    {
        if (static_cast<int>(m_info.VolumeFileLenth.size()) != count)
            return false;
        return EarlierVolumesLength(count + 1) == LocalFileLength(ArchivePath());
    }

    std::int64_t EarlierVolumesLength(int volume) const
    {
        std::int64_t sum = 0;
        for (const auto& [number, text] : m_info.VolumeFileLenth)
            if (number < volume)
                sum += std::strtoll(text.c_str(), nullptr, 10);
        return sum;
    }

    bool VolumeAddress(bool cloud, int setIndex, int volume, std::string& url)
    {
        if (!cloud) {
            const auto& set = m_info.VolumeUrlList[setIndex];
            const auto it = set.find(volume);
            return it != set.end() && !(url = it->second).empty();
        }
        auto& resolved = m_info.VolumePanRealUrlList[setIndex];
        if (const auto it = resolved.find(volume); it != resolved.end() && !it->second.empty()) {
            url = it->second;
            return true;
        }
        const auto& links = m_info.VolumePanUrlList[setIndex];
        const auto link = links.find(volume);
        if (link == links.end() || !ResolveShareLink(link->second, url))
            return false;
        resolved[volume] = url;
        SaveRow();
        return true;
    }

    // Cloud drive: the resolved links when there are, else the share links, else the direct list.
    bool ChooseCloudAddress(std::string& url, double& length)
    {
        if (m_info.PanUrlList.empty())
            return FirstAnswering(m_info.UrlList, false, url, length);
        if (!m_info.PanRealUrlList.empty()) {
            if (FirstAnswering(m_info.PanRealUrlList, false, url, length))
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

    bool FirstAnswering(const std::vector<std::string>& list, bool followRedirects, std::string& url,
                        double& length)
    {
        for (const std::string& candidate : list) {
            if (m_context.stop)
                return false;
            length = ProbeLength(candidate, followRedirects);
            if (length >= 0) {
                url = candidate;
                return true;
            }
        }
        return false;
    }

    // The program's servers: each address is checked and walked to its final address.
    bool ChooseServerAddress(const std::vector<std::string>& list, std::string& url, double& length)
    {
        using std::chrono::milliseconds;
        for (const std::string& candidate : list) {
            for (const milliseconds pause : {milliseconds(0), milliseconds(10), milliseconds(100)}) {
                if (m_context.stop || !WaitOrStop(pause))
                    return false;
                if (CheckUrl(candidate) && ResolveFinalUrl(candidate, url, length))
                    return true;
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
            if (followRedirects) {
                std::string finalUrl;
                if (!ResolveFinalUrl(url, finalUrl, length))
                    length = -1;
            } else {
                length = GetContentLength(url);
            }
            if (length >= 0)
                return length;
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

    // Loops until the content at url sits complete in the archive after `base` bytes.
    int DownloadInto(const std::string& url, double remoteLength, std::int64_t base)
    {
        const std::string path = ArchivePath();
        const auto remote = static_cast<std::int64_t>(remoteLength);
        auto pause = m_options.retryPauseFirst;
        int refusedRanges = 0;
        for (;;) {
            if (m_context.stop)
                return kResultStopped;
            std::int64_t have = LocalFileLength(path) - base;
            if (remoteLength >= 0 && have == remote)
                return kResultOk;
            if (have < 0 || (remoteLength >= 0 && have > remote))
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

        m_context.unpacking = true;
        m_task.requestedStatus = 5;
        m_env.wake();
        if (m_options.beforeUnpack)
            m_options.beforeUnpack(m_info.GameId);
        m_context.zip.SetExtractProgressFun([this](std::int64_t done, std::int64_t total) {
            Post(kStateUnpacking, static_cast<double>(done), static_cast<double>(total));
        });
        struct stat before
        {
        };
        const bool known = ::stat(archive.c_str(), &before) == 0;
        const bool ok = m_context.zip.ZipExtract(archive, m_info.FilePath) == 1;
        m_context.unpacking = false;
        if (ok) {
            // An arcade set may carry the archive's own name: then the unpacked set took its place
            // and is the game, not the archive.
            struct stat after
            {
            };
            if (known && ::stat(archive.c_str(), &after) == 0 && after.st_ino == before.st_ino &&
                after.st_dev == before.st_dev)
                std::remove(archive.c_str());
            return kResultOk;
        }
        if (m_context.zip.WasStopped())
            return kResultStopped;
        return m_context.zip.WriteFailed() ? kResultDiskFull : kResultUnpackFailed;
    }

    static bool EqualsIgnoringCase(const std::string& a, const std::string& b)
    {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) !=
                std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }

    void ReportProgress(std::int64_t done, std::int64_t total)
    {
        const auto now = Clock::now();
        if (now - m_lastReport < std::chrono::milliseconds(50))
            return;
        m_lastReport = now;
        Post(kStateDownloading, static_cast<double>(done), static_cast<double>(total));
    }

    void Post(int state, double done, double total)
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
        PostMessage(*m_env.window, UM_DOWNLOAD_PROGRESS, 0, std::move(record));
    }

    void SaveRow() { m_env.database->PostWait(DbOperation::UpdateDownload, DbArgument(m_info)); }

    bool WaitOrStop(std::chrono::milliseconds pause) { return m_context.PauseUnlessStopped(pause); }

    DownloadTask& m_task;
    DownloadInfo& m_info;
    TransferContext& m_context;
    const TransferEnvironment& m_env;
    const DownloadOptions& m_options;
    Clock::time_point m_lastReport{};
};

} // namespace

void RunTaskTransfer(DownloadTask& task, TransferContext& context, const TransferEnvironment& environment)
{
    int result = kResultOk;
    try {
        result = TaskTransfer(task, context, environment).Run();
    } catch (const std::exception& e) {
        DebugOutput(std::string("download: ") + e.what());
        result = kResultUnpackFailed;
    }
    task.result = result;
    task.requestedStatus = result == kResultOk ? kRequestFinished : result == kResultStopped ? 3 : 9;
    --*environment.running;
    environment.wakeWith(context.finished);
}

} // namespace ravelo
