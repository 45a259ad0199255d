#include "download/ResumableTransfer.h"

#include "platform/FileSystem.h"
#include "service/CurlEasy.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ravelo {
namespace {

// Per-transfer state shared by libcurl's callbacks.
struct Session
{
    const TransferRequest* request = nullptr;
    TransferOutcome* outcome = nullptr;
    int fd = -1;
    long status = 0;              // status of the answer being received (redirect answers come first)
    std::int64_t rangeStart = -1; // first byte of a 206 answer's Content-Range
    bool decided = false;         // whether this answer's body may be written was settled
    bool accept = false;
};

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* s = static_cast<Session*>(user);
    const std::size_t bytes = size * count;
    const std::string line(data, bytes);
    if (line.rfind("HTTP/", 0) == 0) {
        // A new answer begins (the first, or the one after a redirect).
        const auto space = line.find(' ');
        s->status = space == std::string::npos ? 0 : std::strtol(line.c_str() + space + 1, nullptr, 10);
        s->rangeStart = -1;
        s->decided = false;
    } else if (strncasecmp(line.c_str(), "Content-Range:", 14) == 0) {
        const auto bytesWord = line.find("bytes", 14);
        if (bytesWord != std::string::npos)
            s->rangeStart = std::strtoll(line.c_str() + bytesWord + 5, nullptr, 10);
    }
    return bytes;
}

// Settles, at the first body byte of an answer, whether the body belongs in the file.
bool DecideAnswer(Session& s)
{
    s.decided = true;
    const std::int64_t offset = s.request->resumeOffset;
    if (s.status == 206) {
        s.accept = offset == 0 ? (s.rangeStart <= 0) : (s.rangeStart == offset);
        s.outcome->rangeRefused = !s.accept;
        return s.accept;
    }
    if (s.status == 200) {
        if (offset > 0) {
            // The server sent the whole content: start it again rather than append it to the part.
            const off_t start = s.request->filePosition - offset;
            if (::ftruncate(s.fd, start) != 0 || ::lseek(s.fd, start, SEEK_SET) != start)
                return s.accept = false;
            s.outcome->restarted = true;
        }
        return s.accept = true;
    }
    return s.accept = false; // an error answer's body never goes into the archive
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* s = static_cast<Session*>(user);
    const std::size_t bytes = size * count;
    if (s->request->stop && s->request->stop->load()) {
        s->outcome->stopped = true;
        return 0;
    }
    if (!s->decided && !DecideAnswer(*s))
        return 0;
    if (!s->accept)
        return 0;
    if (!WriteAll(s->fd, data, bytes)) {
        s->outcome->writeFailed = true;
        return 0;
    }
    s->outcome->bytesWritten += static_cast<std::int64_t>(bytes);
    return bytes;
}

int OnProgress(void* user, curl_off_t expected, curl_off_t received, curl_off_t, curl_off_t)
{
    auto* s = static_cast<Session*>(user);
    if (s->request->stop && s->request->stop->load()) {
        s->outcome->stopped = true;
        return 1; // aborts at once, also while nothing arrives
    }
    if (received > 0 && s->accept && s->request->progress)
        s->request->progress(received, expected);
    return 0;
}

} // namespace

std::int64_t LocalFileLength(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : 0;
}

TransferOutcome RunResumableTransfer(const TransferRequest& request)
{
    TransferOutcome outcome;
    CreateFolderChain(request.path);
    const int fd = ::open(request.path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        outcome.openFailed = true;
        return outcome;
    }
    struct stat st
    {
    };
    if (::fstat(fd, &st) == 0 && st.st_size < request.filePosition) {
        ::close(fd);
        outcome.shortFile = true;
        return outcome;
    }
    // Whatever lies past the good bytes is dropped so that the answer lands right after them.
    if (request.resumeOffset > request.filePosition || ::ftruncate(fd, request.filePosition) != 0 ||
        ::lseek(fd, request.filePosition, SEEK_SET) < 0) {
        ::close(fd);
        outcome.openFailed = true;
        return outcome;
    }

    Session session;
    session.request = &request;
    session.outcome = &outcome;
    session.fd = fd;

    CurlEasy curl;
    if (!curl) {
        ::close(fd);
        outcome.curlCode = CURLE_FAILED_INIT;
        return outcome;
    }
    curl.Set(CURLOPT_URL, request.url.c_str());
    curl.Set(CURLOPT_FOLLOWLOCATION, 1L);
    curl.Set(CURLOPT_CONNECTTIMEOUT, request.connectTimeoutSeconds);
    curl.Set(CURLOPT_TIMEOUT, request.totalTimeoutSeconds);
    curl.Set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl.Set(CURLOPT_LOW_SPEED_TIME, request.stallSeconds);
    curl.Set(CURLOPT_BUFFERSIZE, 64L * 1024L);
    // A plain Range header rather than libcurl's resume, which refuses a whole answer outright: we
    // judge the answer ourselves at its first byte.
    const std::string range = std::to_string(request.resumeOffset) + "-";
    if (request.resumeOffset > 0)
        curl.Set(CURLOPT_RANGE, range.c_str());
    curl.Set(CURLOPT_HEADERFUNCTION, &OnHeader);
    curl.Set(CURLOPT_HEADERDATA, static_cast<void*>(&session));
    curl.Set(CURLOPT_WRITEFUNCTION, &OnBody);
    curl.Set(CURLOPT_WRITEDATA, static_cast<void*>(&session));
    curl.Set(CURLOPT_NOPROGRESS, 0L);
    curl.Set(CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl.Set(CURLOPT_XFERINFODATA, static_cast<void*>(&session));

    outcome.curlCode = curl.Perform();
    long status = 0;
    curl.ResponseCode(status);
    outcome.httpStatus = status ? status : session.status;
    if (outcome.curlCode == CURLE_OK && outcome.httpStatus == 206 && !session.decided)
        DecideAnswer(session); // an empty 206 still has to name the right range
    if (::close(fd) != 0)
        outcome.writeFailed = true;
    return outcome;
}

} // namespace ravelo
