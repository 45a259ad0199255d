#pragma once

#include <string>

namespace ravelo::server {

/// Builds the addresses that answers carry, from the address the client reached us at, so that one
/// catalogue works on any host and port.
class AnswerAddresses
{
public:
    /// hostAndPort as the client named us ("127.0.0.1:8650"). Pictures are given as paths under the
    /// picture host (the client puts its own picture host in front) unless absolutePictures.
    AnswerAddresses(std::string hostAndPort, bool absolutePictures);

    /// "http://host:port".
    const std::string& Base() const { return m_base; }
    /// A picture path as stored ("/pic/icon/1001.png"), as the answer gives it.
    std::string Picture(const std::string& path) const;
    /// An address under the download root ("games/1001/1001.zip" → "http://host:port/download/...").
    std::string Download(const std::string& relative) const;
    /// The same file reached through the given number of redirects.
    std::string Redirected(const std::string& relative, int hops) const;

    /// Percent-encodes a path for an address: unreserved characters and '/' stay.
    static std::string EncodePath(const std::string& path);
    /// True when a Host header value is safe to put into addresses: host name or IPv4/IPv6 literal
    /// with an optional port, nothing else.
    static bool IsPlainHost(const std::string& host);

private:
    std::string m_base;
    bool m_absolutePictures;
};

} // namespace ravelo::server
