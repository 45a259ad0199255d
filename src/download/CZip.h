#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace ravelo {

/// Unpacks one zip archive into a folder, entry by entry, with progress reports and pause/stop from
/// another thread. One CZip serves one extraction; a stopped CZip is not reused.
class CZip
{
public:
    /// (extracted bytes, total bytes); called on the extracting thread at most once per 50 ms.
    using ProgressFun = std::function<void(std::int64_t extracted, std::int64_t total)>;

    CZip() = default;
    CZip(const CZip&) = delete;
    CZip& operator=(const CZip&) = delete;

    void SetExtractProgressFun(ProgressFun callback) { m_progress = std::move(callback); }

    /// Any thread. Non-zero holds the extraction between blocks; zero lets it go on.
    void Pause(int flag);
    /// Any thread. Ends the extraction with failure, also while it is paused.
    void Exit();

    /// Extracts every entry of archivePath under destination (a '/' is appended when missing; the
    /// parent folder must exist). Returns 1 when every entry was extracted, 0 otherwise; files
    /// already written stay. Entries that would land outside the destination (".." parts, absolute
    /// names) and archives whose data fail their checksum are refused. Symbolic-link entries are
    /// skipped. LastError() says why an extraction failed.
    int ZipExtract(const std::string& archivePath, const std::string& destination);

    std::int64_t TotalBytes() const { return m_total; }
    std::int64_t ExtractedBytes() const { return m_extracted; }
    bool WasStopped() const { return m_stop.load(); }
    /// The last failure was the disk refusing bytes (full disk, I/O error).
    bool WriteFailed() const { return m_writeFailed; }
    const std::string& LastError() const { return m_error; }

private:
    bool ExtractCurrentEntry(void* zip, const std::string& destination);
    bool WaitWhilePaused();
    bool Fail(std::string reason);

    ProgressFun m_progress;
    std::atomic<std::int64_t> m_total{0}; // read by other threads for their progress texts
    std::atomic<std::int64_t> m_extracted{0};
    std::atomic<bool> m_stop{false};
    bool m_paused = false;
    std::mutex m_pauseLock;
    std::condition_variable m_pauseChanged;
    std::int64_t m_lastReportMs = 0;
    std::string m_error;
    bool m_writeFailed = false;
};

} // namespace ravelo
