#include "server/StaticFiles.h"

#include "server/ByteRange.h"
#include "server/CatalogueJson.h"
#include "server/SafePath.h"

#include <httplib.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace ravelo::server {

namespace {

void JsonError(httplib::Response& response, int status, const std::string& message)
{
    response.status = status;
    response.set_content(WriteJson(ErrorJson(message)), "application/json; charset=utf-8");
}

} // namespace

std::string ContentTypeFor(const std::string& path)
{
    const auto dot = path.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    if (extension == "png")
        return "image/png";
    if (extension == "jpg" || extension == "jpeg")
        return "image/jpeg";
    if (extension == "zip")
        return "application/zip";
    if (extension == "txt" || extension == "cue")
        return "text/plain; charset=utf-8";
    if (extension == "json")
        return "application/json; charset=utf-8";
    return "application/octet-stream";
}

void ServeFile(const httplib::Request& request, httplib::Response& response, const std::string& folder,
               const std::string& relative, std::size_t bytesPerSecond)
{
    const auto safe = SafeRelativePath(relative);
    if (!safe) {
        JsonError(response, 400, "请求的路径无效");
        return;
    }
    const auto path = ResolveInside(folder, *safe);
    if (!path) {
        JsonError(response, 404, "文件不存在");
        return;
    }
    const int fd = ::open(path->c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info
    {
    };
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        JsonError(response, 404, "文件不存在");
        return;
    }
    // The descriptor lives as long as the answer: the releaser closes it however sending ends.
    auto file = std::shared_ptr<int>(new int(fd), [](int* descriptor) {
        ::close(*descriptor);
        delete descriptor;
    });
    const std::int64_t size = info.st_size;
    const ByteRange range = ByteRange::Parse(request.get_header_value("Range"), size);
    response.set_header("Accept-Ranges", "bytes");

    if (range.kind == ByteRange::Kind::Unsatisfiable) {
        response.set_header("Content-Range", "bytes */" + std::to_string(size));
        JsonError(response, 416, "请求的范围无效");
        return;
    }
    std::int64_t start = 0;
    std::int64_t length = size;
    if (range.kind == ByteRange::Kind::Part) {
        start = range.start;
        length = range.length;
        response.status = 206;
        response.set_header("Content-Range", "bytes " + std::to_string(start) + "-" +
                                                 std::to_string(start + length - 1) + "/" +
                                                 std::to_string(size));
    } else {
        response.status = 200;
    }
    if (length == 0) {
        response.set_content(std::string(), ContentTypeFor(*path));
        return;
    }
    response.set_content_provider(
        static_cast<std::size_t>(length), ContentTypeFor(*path),
        [file, start, bytesPerSecond](std::size_t offset, std::size_t remaining, httplib::DataSink& sink) {
            char block[65536];
            // A limited rate sends a tenth of a second's worth, then waits that tenth.
            const std::size_t slice =
                bytesPerSecond > 0 ? std::max<std::size_t>(1, bytesPerSecond / 10) : sizeof(block);
            const std::size_t want = std::min({remaining, sizeof(block), slice});
            if (bytesPerSecond > 0 && offset > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const ssize_t got = ::pread(*file, block, want, static_cast<off_t>(start + offset));
            if (got <= 0)
                return false; // the file shrank or failed under us: end the answer short
            return sink.write(block, static_cast<std::size_t>(got));
        });
}

} // namespace ravelo::server
