#pragma once

#include <string>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

namespace ravelo::server {

/// Answers a GET or HEAD for one file below a served folder: Content-Length always, a single byte
/// range as 206 with Content-Range, a range past the end as 416, and 404 for anything that is not
/// a regular file inside the folder (the relative path is checked by SafeRelativePath first).
/// Called on HTTP worker threads; the file is read while the answer is sent, never held whole.
/// With bytesPerSecond above 0 the body is sent at about that rate (to watch a download in a window).
void ServeFile(const httplib::Request& request, httplib::Response& response, const std::string& folder,
               const std::string& relative, std::size_t bytesPerSecond = 0);

/// The content type for a file name's extension.
std::string ContentTypeFor(const std::string& path);

} // namespace ravelo::server
