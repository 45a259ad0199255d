#include "server/AnswerAddresses.h"

namespace ravelo::server {

AnswerAddresses::AnswerAddresses(std::string hostAndPort, bool absolutePictures)
    : m_base("http://" + std::move(hostAndPort)), m_absolutePictures(absolutePictures)
{
}

std::string AnswerAddresses::Picture(const std::string& path) const
{
    if (!m_absolutePictures || path.empty())
        return path;
    return m_base + EncodePath(path.front() == '/' ? path : "/" + path);
}

std::string AnswerAddresses::Download(const std::string& relative) const
{
    return m_base + "/download/" + EncodePath(relative);
}

std::string AnswerAddresses::Redirected(const std::string& relative, int hops) const
{
    return m_base + "/download/hop/" + std::to_string(hops) + "/" + EncodePath(relative);
}

std::string AnswerAddresses::EncodePath(const std::string& path)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
            c == '_' || c == '.' || c == '~' || c == '/') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

bool AnswerAddresses::IsPlainHost(const std::string& host)
{
    if (host.empty() || host.size() > 255)
        return false;
    for (unsigned char c : host) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                             c == '-' || c == '.' || c == ':' || c == '[' || c == ']';
        if (!allowed)
            return false;
    }
    return true;
}

} // namespace ravelo::server
