#include "server/AccessLog.h"

#include <ctime>

namespace ravelo::server {

std::string AccessLog::Escape(const std::string& text)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x20 || c >= 0x7F || c == '\\') {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void AccessLog::Write(const std::string& remote, const std::string& method, const std::string& target,
                      int status, std::uint64_t bytes, const std::string& body)
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char time[32];
    std::strftime(time, sizeof(time), "%Y-%m-%dT%H:%M:%SZ", &parts);

    std::string line = std::string(time) + " " + Escape(remote.empty() ? "-" : remote) + " " +
                       Escape(method.empty() ? "-" : method) + " " + Escape(target.empty() ? "-" : target) +
                       " " + std::to_string(status) + " " + std::to_string(bytes);
    if (m_withBodies && !body.empty())
        line += " " + Escape(body);
    line += '\n';

    std::lock_guard lock(m_mutex);
    std::fwrite(line.data(), 1, line.size(), m_out);
    std::fflush(m_out);
}

} // namespace ravelo::server
