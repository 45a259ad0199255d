#pragma once

#include <map>
#include <string>

namespace ravelo {

/// Keeps the cookies of one cloud-drive resolution across its requests. Used by one thread at a time;
/// each operation blocks until its transfer ends and reports failure by its result only.
class CookieJarClient
{
public:
    /// Every cookie as name=value; one after the other, no spaces ("a=1;b=2;").
    std::string CookieHeader() const;
    const std::map<std::string, std::string>& Cookies() const { return m_cookies; }

    /// Fetches url into text (emptied first) and harvests the cookies. Returns 1 or 0; on failure text
    /// keeps whatever had arrived. Answers over kMaxAnswerBytes, and text that is not valid UTF-8, fail.
    int GetText(const std::string& url, const std::string& referer, std::string& text);

    /// Downloads url into path (created or truncated) and harvests the cookies. Returns 1 or 0.
    int GetFile(const std::string& url, const std::string& referer, const std::string& path);

    /// Walks 301/302 redirects with header-only requests (at most kMaxRedirectHops) and stores the
    /// address of the 200 answer that ends the walk. Returns 1 or 0.
    int FollowRedirects(const std::string& url, const std::string& referer, std::string& finalUrl);

private:
    /// Adds the cookies libcurl collected; a name already known keeps its value.
    void Harvest(void* curlHandle);

    std::map<std::string, std::string> m_cookies;
};

} // namespace ravelo
