#include "service/HttpTransport.h"

#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/Translate.h"
#include "service/CurlEasy.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace ravelo {

std::string TransferError::Describe() const
{
    if (tooLarge)
        return Tr("服务器应答过大");
    switch (curlCode) {
    case 0:
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
        return Tr("无法解析服务器地址");
    case CURLE_COULDNT_CONNECT:
        return Tr("无法连接服务器");
    case CURLE_OPERATION_TIMEDOUT:
        return Tr("连接服务器超时");
    default:
        return std::string(Tr("网络错误: ")) + curl_easy_strerror(static_cast<CURLcode>(curlCode));
    }
    if (httpStatus != 0 && httpStatus != 200)
        return Tr("服务器返回错误 (HTTP ") + std::to_string(httpStatus) + ")";
    return std::string();
}

int HttpPost(std::string& output, const std::string& url, const std::string& headerLine,
             const std::string& body, long timeoutSeconds, TransferError* error)
{
    TransferError local;
    TransferError& failure = error ? *error : local;
    failure = TransferError{};
    CurlEasy curl;
    if (!curl) {
        failure.curlCode = CURLE_FAILED_INIT;
        return 0;
    }
    if (!headerLine.empty())
        curl.SetHeaderLine(headerLine);
    curl.Set(CURLOPT_URL, url.c_str());
    // An explicit size, also zero: without it an empty body would make libcurl read the body from stdin.
    curl.Set(CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl.Set(CURLOPT_POSTFIELDS, body.c_str());
    curl.WriteToString(output, kMaxAnswerBytes);
    curl.Set(CURLOPT_POST, 1L);
    curl.Set(CURLOPT_CONNECTTIMEOUT, 5L);
    curl.Set(CURLOPT_TIMEOUT, timeoutSeconds);

    const CURLcode code = curl.Perform();
    long status = 0;
    const bool statusKnown = curl.ResponseCode(status);
    failure.tooLarge = curl.Overflowed();
    if (code != CURLE_OK) {
        failure.curlCode = code;
        if (failure.tooLarge)
            DebugOutput("HttpPost: answer of " + url + " larger than the limit");
        return 0;
    }
    if (statusKnown && status != 200) {
        failure.httpStatus = status;
        DebugOutput("HttpPost: " + url + " answered " + std::to_string(status));
        return 0;
    }
    return 1;
}

namespace {

/// Where a checked download writes, and what stops it.
struct FileSink
{
    std::FILE* file = nullptr;
    std::uint64_t written = 0;
    std::uint64_t limit = 0; // 0: none
    bool overflowed = false;
    const std::atomic<bool>* abort = nullptr;

    static std::size_t Write(char* data, std::size_t size, std::size_t count, void* self)
    {
        auto* sink = static_cast<FileSink*>(self);
        const std::size_t bytes = size * count;
        if (sink->limit != 0 && sink->written + bytes > sink->limit) {
            sink->overflowed = true;
            return 0; // ends the transfer with CURLE_WRITE_ERROR
        }
        const std::size_t wrote = std::fwrite(data, 1, bytes, sink->file);
        sink->written += wrote;
        return wrote;
    }

    static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        const auto* sink = static_cast<FileSink*>(self);
        return sink->abort && sink->abort->load() ? 1 : 0;
    }
};

} // namespace

int DownloadFile(const std::string& url, const std::string& path)
{
    return DownloadFile(url, path, DownloadChecks{});
}

int DownloadFile(const std::string& url, const std::string& path, const DownloadChecks& checks)
{
    CreateFolderChain(path);
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return 0;
    std::FILE* file = ::fdopen(fd, "wb+");
    if (!file) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return 0;
    }
    FileSink sink;
    sink.file = file;
    sink.limit = checks.maxBytes;
    sink.abort = checks.abort;
    CURLcode code = CURLE_FAILED_INIT;
    long status = 0;
    bool statusKnown = false;
    {
        CurlEasy curl;
        if (curl) {
            curl.Set(CURLOPT_URL, url.c_str());
            curl.Set(CURLOPT_WRITEFUNCTION, &FileSink::Write);
            curl.Set(CURLOPT_WRITEDATA, static_cast<void*>(&sink));
            if (checks.maxBytes != 0)
                curl.Set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(checks.maxBytes));
            if (checks.abort) {
                curl.Set(CURLOPT_XFERINFOFUNCTION, &FileSink::Progress);
                curl.Set(CURLOPT_XFERINFODATA, static_cast<void*>(&sink));
                curl.Set(CURLOPT_NOPROGRESS, 0L);
            }
            curl.Set(CURLOPT_CONNECTTIMEOUT, 5L);
            curl.Set(CURLOPT_TIMEOUT, 10L);
            code = curl.Perform();
            statusKnown = curl.ResponseCode(status);
        }
    }
    const bool closed = std::fclose(file) == 0;
    if (sink.overflowed || code == CURLE_FILESIZE_EXCEEDED)
        DebugOutput("DownloadFile: answer of " + url + " larger than the limit");
    bool complete = code == CURLE_OK && (!statusKnown || status == 200) && closed;
    if (complete && checks.accept) {
        try {
            complete = checks.accept(temporary);
        } catch (...) {
            complete = false; // a check that cannot decide keeps nothing
        }
    }
    if (!complete || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return 0;
    }
    return 1;
}

namespace {

struct ProbeAnswer
{
    CURLcode code = CURLE_FAILED_INIT;
    bool completed = false;
    long status = 0;
    std::string redirect;
    std::string effectiveUrl;
    double contentLength = -1.0;
};

/// One header-only request, redirects not followed. Always bounded in time: a server that accepts
/// the connection and then says nothing must not hold a download thread that the user wants to stop.
ProbeAnswer Probe(const std::string& url)
{
    ProbeAnswer answer;
    CurlEasy curl;
    if (!curl)
        return answer;
    curl.Set(CURLOPT_URL, url.c_str());
    curl.Set(CURLOPT_NOBODY, 1L);
    curl.Set(CURLOPT_FOLLOWLOCATION, 0L);
    curl.Set(CURLOPT_CONNECTTIMEOUT, 5L);
    curl.Set(CURLOPT_TIMEOUT, 10L);
    answer.code = curl.Perform();
    if (answer.code != CURLE_OK)
        return answer;
    answer.completed = curl.ResponseCode(answer.status);
    char* text = nullptr;
    if (curl_easy_getinfo(curl.Get(), CURLINFO_REDIRECT_URL, &text) == CURLE_OK && text)
        answer.redirect = text;
    text = nullptr;
    if (curl_easy_getinfo(curl.Get(), CURLINFO_EFFECTIVE_URL, &text) == CURLE_OK && text)
        answer.effectiveUrl = text;
    curl_off_t length = -1;
    if (curl_easy_getinfo(curl.Get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK)
        answer.contentLength = static_cast<double>(length);
    return answer;
}

/// Why a probe did not end at a 200 answer.
void NoteFailure(const ProbeAnswer& answer, TransferError* error)
{
    if (!error)
        return;
    *error = TransferError{};
    if (answer.code != CURLE_OK)
        error->curlCode = answer.code;
    else
        error->httpStatus = answer.status;
}

/// Follows 301/302 answers one hop at a time; the 200 answer at the end, or nothing.
bool WalkRedirects(const std::string& url, ProbeAnswer& last, TransferError* error)
{
    std::string current = url;
    for (int hop = 0;; ++hop) {
        last = Probe(current);
        if (!last.completed) {
            NoteFailure(last, error);
            return false;
        }
        if (last.status == 200)
            return true;
        if (last.status != 301 && last.status != 302) {
            NoteFailure(last, error);
            return false;
        }
        if (last.redirect.empty() || hop == kMaxRedirectHops) {
            NoteFailure(last, error);
            if (hop == kMaxRedirectHops) {
                DebugOutput("redirect chain of " + url + " longer than " + std::to_string(kMaxRedirectHops));
                if (error)
                    error->curlCode = CURLE_TOO_MANY_REDIRECTS;
            }
            return false;
        }
        current = last.redirect;
    }
}

} // namespace

int ResolveFinalUrl(const std::string& url, std::string& finalUrl, double& contentLength,
                    TransferError* error)
{
    ProbeAnswer last;
    if (!WalkRedirects(url, last, error))
        return 0;
    finalUrl = last.effectiveUrl;
    contentLength = last.contentLength;
    DebugOutput("\n" + finalUrl + "\n");
    return 1;
}

int CheckUrl(const std::string& url)
{
    ProbeAnswer last;
    return WalkRedirects(url, last, nullptr) ? 1 : 0;
}

double GetContentLength(const std::string& url, TransferError* error)
{
    const ProbeAnswer answer = Probe(url);
    if (!answer.completed || answer.status != 200) {
        NoteFailure(answer, error);
        return -1.0;
    }
    return answer.contentLength;
}

} // namespace ravelo
