#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace ravelo {

/// Largest API answer kept in memory; a longer one fails the request.
constexpr std::size_t kMaxAnswerBytes = 16u * 1024u * 1024u;

/// Most redirects a header-only probe follows before it gives up.
constexpr int kMaxRedirectHops = 10;

/// Why a transfer failed, for the messages a user sees. Empty (Failed() false) after a success.
struct TransferError
{
    int curlCode = 0;      // CURLcode of the transfer, 0 when it completed
    long httpStatus = 0;   // the answer's status code when one arrived
    bool tooLarge = false; // the answer outgrew kMaxAnswerBytes

    bool Failed() const { return curlCode != 0 || tooLarge || (httpStatus != 0 && httpStatus != 200); }
    /// A short Chinese reason, e.g. "无法连接服务器" or "服务器返回错误 (HTTP 404)".
    std::string Describe() const;
};

// Every operation blocks its caller until the transfer ends and uses a handle of its own, so any number
// may run at once on different threads. None retries and none shows anything: failure is reported by
// the result only.

/// The catalogue request: a POST of body (sent as given; empty means a POST with no body) with an
/// optional one-line header, answer appended to output. Connect time-out 5 s, total timeoutSeconds.
/// Redirects are not followed. Returns 1 when the transfer completed with status 200 (or one libcurl
/// cannot tell), else 0; output may then hold part of an answer. error, when given, says why.
int HttpPost(std::string& output, const std::string& url, const std::string& headerLine,
             const std::string& body, long timeoutSeconds, TransferError* error = nullptr);

/// Downloads url into path (folders created). The body goes to a temporary sibling that replaces path
/// only when the whole answer arrived with status 200, so a failure never leaves a short file under
/// path. Connect time-out 5 s, total 10 s. Returns 1 or 0.
int DownloadFile(const std::string& url, const std::string& path);

/// What a caller may add to a file download.
struct DownloadChecks
{
    /// An answer longer than this fails the download (0: no limit). A declared length over it fails
    /// before the body is read.
    std::uint64_t maxBytes = 0;
    /// Called with the temporary file once the whole answer is in it and closed; false discards it.
    /// Runs on the downloading thread.
    std::function<bool(const std::string& temporaryPath)> accept;
    /// When it becomes true the transfer ends (within about a second) and fails.
    const std::atomic<bool>* abort = nullptr;
};

/// DownloadFile with checks: path is replaced only by a complete answer within the limit that accept
/// took. Returns 1 or 0.
int DownloadFile(const std::string& url, const std::string& path, const DownloadChecks& checks);

/// Walks 301/302 redirects with header-only requests (at most kMaxRedirectHops) until a 200 answer;
/// stores that address and its content length (-1 when the server gives none). Returns 1 or 0; an empty
/// redirect target, another status or a failed transfer give 0, and error (when given) then holds the
/// last answer's status or the transfer's CURLcode (CURLE_TOO_MANY_REDIRECTS for an endless chain).
int ResolveFinalUrl(const std::string& url, std::string& finalUrl, double& contentLength,
                    TransferError* error = nullptr);

/// The same walk as ResolveFinalUrl without recording anything: 1 when it ends at a 200 answer.
int CheckUrl(const std::string& url);

/// Content length of url from a header-only request (redirects not followed), or -1.0 when the
/// transfer fails or the status is not 200; error (when given) then says which.
double GetContentLength(const std::string& url, TransferError* error = nullptr);

} // namespace ravelo
