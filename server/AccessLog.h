#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace ravelo::server {

/// One line per answered request: UTC time, client address, method, path, status and the body
/// bytes sent; with bodies on, also the request body. Bytes that could break the line (control
/// bytes, non-ASCII) are written as \xNN, so every request stays exactly one line; URL-encoded
/// bodies are printable already and appear unchanged. Called from any HTTP worker thread.
class AccessLog
{
public:
    /// Writes to an open stream that the caller owns and keeps open (stdout or a file).
    AccessLog(std::FILE* out, bool withBodies) : m_out(out), m_withBodies(withBodies) {}

    void Write(const std::string& remote, const std::string& method, const std::string& target, int status,
               std::uint64_t bytes, const std::string& body);

    /// The text with control and non-ASCII bytes (and the backslash) escaped as \xNN.
    static std::string Escape(const std::string& text);

private:
    std::FILE* m_out;
    bool m_withBodies;
    std::mutex m_mutex;
};

} // namespace ravelo::server
