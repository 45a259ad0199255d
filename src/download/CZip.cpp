#include "download/CZip.h"

#include "download/ZipEntryName.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <minizip/unzip.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ravelo {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
constexpr std::int64_t kReportIntervalMs = 50;

std::int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool IsSymlinkEntry(const unz_file_info64& info)
{
    const bool madeOnUnix = (info.version >> 8) == 3;
    return madeOnUnix && ((info.external_fa >> 16) & S_IFMT) == S_IFLNK;
}

// A folder along an entry's path must be a real folder: an existing link could point anywhere.
bool EnsureRealFolder(const std::string& path)
{
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

// Programs in an emulator package must stay runnable. Only the execute bits of an archive made on
// Unix are taken over: never set-id bits, never write permission for others.
mode_t EntryMode(const unz_file_info64& info)
{
    const bool madeOnUnix = (info.version >> 8) == 3;
    const mode_t stored = madeOnUnix ? static_cast<mode_t>((info.external_fa >> 16) & 0777) : 0;
    return (stored & S_IXUSR) ? 0755 : 0644;
}

timespec EntryTime(const unz_file_info64& info)
{
    std::tm local{};
    local.tm_sec = static_cast<int>(info.tmu_date.tm_sec);
    local.tm_min = static_cast<int>(info.tmu_date.tm_min);
    local.tm_hour = static_cast<int>(info.tmu_date.tm_hour);
    local.tm_mday = static_cast<int>(info.tmu_date.tm_mday);
    local.tm_mon = static_cast<int>(info.tmu_date.tm_mon);
    local.tm_year = static_cast<int>(info.tmu_date.tm_year) - 1900;
    local.tm_isdst = -1; // the DOS time stamp is local time
    return timespec{std::mktime(&local), 0};
}

} // namespace

void CZip::Pause(int flag)
{
    {
        std::lock_guard guard(m_pauseLock);
        m_paused = flag != 0;
    }
    m_pauseChanged.notify_all();
}

void CZip::Exit()
{
    {
        std::lock_guard guard(m_pauseLock);
        m_stop = true;
    }
    m_pauseChanged.notify_all();
}

bool CZip::WaitWhilePaused()
{
    std::unique_lock guard(m_pauseLock);
    m_pauseChanged.wait(guard, [&] { return !m_paused || m_stop; });
    return !m_stop;
}

bool CZip::Fail(std::string reason)
{
    m_error = std::move(reason);
    DebugOutput("zip: " + m_error);
    return false;
}

int CZip::ZipExtract(const std::string& archivePath, const std::string& destination)
{
    m_error.clear();
    unzFile zip = unzOpen64(archivePath.c_str());
    if (!zip)
        return Fail("cannot open archive " + archivePath), 0;

    unz_global_info64 global{};
    unzGetGlobalInfo64(zip, &global);
    m_total = 0;
    for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK)
            m_total += static_cast<std::int64_t>(info.uncompressed_size);
    }

    std::string folder = destination;
    if (folder.empty() || (folder.back() != '/' && folder.back() != '\\'))
        folder.push_back('/');
    ::mkdir(folder.c_str(), 0755);

    bool ok = global.number_entry == 0 || unzGoToFirstFile(zip) == UNZ_OK;
    m_lastReportMs = NowMs();
    for (ZPOS64_T i = 0; ok && i < global.number_entry; ++i) {
        ok = ExtractCurrentEntry(zip, folder);
        if (ok && i + 1 < global.number_entry && unzGoToNextFile(zip) != UNZ_OK)
            ok = Fail("cannot step to the next entry");
    }
    unzClose(zip);
    return ok ? 1 : 0;
}

bool CZip::ExtractCurrentEntry(void* zip, const std::string& destination)
{
    unz_file_info64 info{};
    char rawName[4096];
    if (unzGetCurrentFileInfo64(zip, &info, rawName, sizeof(rawName), nullptr, 0, nullptr, 0) != UNZ_OK)
        return Fail("cannot read an entry's header");
    const std::string raw(rawName, std::min<std::size_t>(info.size_filename, sizeof(rawName) - 1));
    if (IsSymlinkEntry(info)) {
        DebugOutput("zip: skipping link entry " + raw);
        return true;
    }
    ZipEntryName name;
    if (!ParseZipEntryName(raw, (info.flag & 0x800) != 0, name))
        return Fail("refusing entry outside the destination: " + raw);

    std::string path = destination;
    for (const std::string& part : name.folders) {
        path += part + "/";
        if (!EnsureRealFolder(path))
            return Fail("cannot create folder " + path);
    }
    if (name.fileName.empty())
        return true;
    path += name.fileName;

    if (unzOpenCurrentFile(zip) != UNZ_OK)
        return Fail("cannot open entry " + raw);
    // Written beside its place and renamed into it once whole and checked: a failed entry leaves the
    // file that was there, and an entry named like the archive being read cannot overwrite it mid-read
    // (the open archive keeps reading the replaced file).
    const std::string partial =
        path.substr(0, path.size() - name.fileName.size()) + "." + name.fileName + ".part";
    const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        unzCloseCurrentFile(zip);
        return Fail("cannot create " + path);
    }

    std::vector<char> block(kBlockSize);
    bool ok = true;
    for (;;) {
        if (!WaitWhilePaused()) {
            ok = Fail("stopped");
            break;
        }
        const int n = unzReadCurrentFile(zip, block.data(), static_cast<unsigned>(block.size()));
        if (n < 0) {
            ok = Fail("damaged data in " + raw);
            break;
        }
        if (n == 0)
            break;
        if (!WriteAll(fd, block.data(), static_cast<std::size_t>(n))) {
            m_writeFailed = true;
            ok = Fail("cannot write " + path + ": " + std::strerror(errno));
            break;
        }
        m_extracted += n;
        if (m_progress && NowMs() - m_lastReportMs > kReportIntervalMs) {
            m_progress(m_extracted, m_total);
            m_lastReportMs = NowMs();
        }
        if (m_stop) {
            ok = Fail("stopped");
            break;
        }
    }
    if (ok) {
        const timespec stamp = EntryTime(info);
        const timespec times[2] = {stamp, stamp};
        ::futimens(fd, times);
        // O_TRUNC keeps the mode of a file that was there; the entry decides it.
        ::fchmod(fd, EntryMode(info));
    }
    ok = (::close(fd) == 0) && ok;
    // Closing the entry checks its CRC once all of it was read: damaged data must not pass as a game.
    const int closed = unzCloseCurrentFile(zip);
    if (ok && closed != UNZ_OK)
        ok = Fail("checksum mismatch in " + raw);
    if (ok && ::rename(partial.c_str(), path.c_str()) != 0)
        ok = Fail("cannot replace " + path + ": " + std::strerror(errno));
    if (!ok)
        ::unlink(partial.c_str());
    return ok;
}

} // namespace ravelo
