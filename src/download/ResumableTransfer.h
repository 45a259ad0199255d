#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace ravelo {

/// One HTTP GET appended to a partial file. Used by the download engine and the setup worker. For a
/// single file filePosition and resumeOffset are equal; for a volume appended to an archive the file
/// holds the earlier volumes too (filePosition = their length + resumeOffset).
struct TransferRequest
{
    std::string url;
    std::string path;              // the file to append to (created when missing)
    std::int64_t filePosition = 0; // bytes of the file already good; the file is cut to this length
    std::int64_t resumeOffset = 0; // bytes of this address's content already had (asked for with Range)
    const std::atomic<bool>* stop = nullptr;
    /// (bytes received in this transfer, bytes expected in this transfer); only once bytes arrived.
    std::function<void(std::int64_t received, std::int64_t expected)> progress;
    long connectTimeoutSeconds = 5;
    long totalTimeoutSeconds = 15; // 0: no limit on the whole transfer
    /// A transfer that receives nothing for this long ends with a time-out, even without a total limit.
    long stallSeconds = 30;
};

struct TransferOutcome
{
    int curlCode = 0;          // CURLcode; 0 when the transfer completed
    long httpStatus = 0;       // status of the final answer, 0 when none arrived
    bool stopped = false;      // the stop flag cut the transfer
    bool restarted = false;    // the server ignored the range: the file was started again from zero
    bool rangeRefused = false; // a 206 for another range than asked: nothing was written
    bool writeFailed = false;  // the disk refused the bytes (full disk, I/O error)
    bool openFailed = false;   // the file could not be opened for writing
    bool shortFile = false;    // the file is shorter than filePosition: nothing was sent or written
    std::int64_t bytesWritten = 0;

    /// The answer was taken whole (200) or as the asked-for part (206).
    bool Succeeded() const { return curlCode == 0 && (httpStatus == 200 || httpStatus == 206); }
};

/// Runs on the calling worker thread and blocks until the transfer ends, is stopped or times out.
/// A file shorter than filePosition is left as it is (never extended with zeros) and nothing is asked.
/// Only a 200 or a 206 answer that starts at the resume offset writes into the file: a 200 to a
/// ranged request starts this content again (the file is cut back to filePosition - resumeOffset), a 206 for
/// another range and every error answer (404, 416, ...) write nothing. Redirects are followed (at most 10
/// hops).
TransferOutcome RunResumableTransfer(const TransferRequest& request);

/// Size of a file in bytes, 0 when it does not exist.
std::int64_t LocalFileLength(const std::string& path);

} // namespace ravelo
