#include "service/CookieJarClient.h"

#include "platform/TextConvert.h"
#include "service/CurlEasy.h"
#include "service/HttpTransport.h"

#include <vector>

namespace ravelo {
namespace {

constexpr const char* kUserAgent =
    "Mozilla/5.0 (Linux; U; Android 4.4.2; de-de; SM-N900) AppleWebKit/534.30 (KHTML, like Gecko) "
    "Version/4.0 Mobile Safari/534.30";

void SetCommonOptions(CurlEasy& curl, const std::string& url, const std::string& referer,
                      const std::string& cookieHeader)
{
    curl.Set(CURLOPT_URL, url.c_str());
    curl.Set(CURLOPT_USERAGENT, kUserAgent);
    curl.Set(CURLOPT_CONNECTTIMEOUT, 5L);
    curl.Set(CURLOPT_TIMEOUT, 10L);
    curl.Set(CURLOPT_COOKIEFILE, ""); // the cookie engine without a file
    if (!cookieHeader.empty())        // an empty one would still send a blank Cookie line
        curl.Set(CURLOPT_COOKIE, cookieHeader.c_str());
    if (!referer.empty())
        curl.Set(CURLOPT_REFERER, referer.c_str());
}

std::vector<std::string> SplitAtTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

} // namespace

std::string CookieJarClient::CookieHeader() const
{
    std::string header;
    for (const auto& [name, value] : m_cookies)
        header += name + "=" + value + ";";
    return header;
}

void CookieJarClient::Harvest(void* curlHandle)
{
    curl_slist* cookies = nullptr;
    if (curl_easy_getinfo(static_cast<CURL*>(curlHandle), CURLINFO_COOKIELIST, &cookies) != CURLE_OK)
        return;
    // Netscape cookie-file lines: domain, subdomains, path, secure, expiry, name, value.
    for (const curl_slist* line = cookies; line; line = line->next) {
        const std::vector<std::string> fields = SplitAtTabs(line->data);
        if (fields.size() >= 7)
            m_cookies.emplace(fields[5], fields[6]);
    }
    curl_slist_free_all(cookies);
}

int CookieJarClient::GetText(const std::string& url, const std::string& referer, std::string& text)
{
    text.clear();
    const std::string cookieHeader = CookieHeader();
    CurlEasy curl;
    if (!curl)
        return 0;
    SetCommonOptions(curl, url, referer, cookieHeader);
    curl.WriteToString(text, kMaxAnswerBytes);
    if (curl.Perform() != CURLE_OK)
        return 0;
    Harvest(curl.Get());
    try {
        text = Utf16ToAnsi(Utf8ToUtf16(text));
    } catch (const TextConversionError&) {
        return 0;
    }
    return 1;
}

int CookieJarClient::GetFile(const std::string& url, const std::string& referer, const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb+");
    if (!file)
        return 0;
    const std::string cookieHeader = CookieHeader();
    CurlEasy curl;
    CURLcode code = CURLE_FAILED_INIT;
    if (curl) {
        SetCommonOptions(curl, url, referer, cookieHeader);
        curl.WriteToFile(file);
        code = curl.Perform();
    }
    const bool closed = std::fclose(file) == 0;
    if (code != CURLE_OK || !closed)
        return 0;
    Harvest(curl.Get());
    return 1;
}

int CookieJarClient::FollowRedirects(const std::string& url, const std::string& referer,
                                     std::string& finalUrl)
{
    std::string current = url;
    for (int hop = 0;; ++hop) {
        const std::string cookieHeader = CookieHeader();
        CurlEasy curl;
        if (!curl)
            return 0;
        SetCommonOptions(curl, current, referer, cookieHeader);
        curl.Set(CURLOPT_NOBODY, 1L);
        curl.Set(CURLOPT_FOLLOWLOCATION, 0L);
        long status = 0;
        if (curl.Perform() != CURLE_OK || !curl.ResponseCode(status))
            return 0;
        if (status == 200) {
            char* effective = nullptr;
            curl_easy_getinfo(curl.Get(), CURLINFO_EFFECTIVE_URL, &effective);
            finalUrl = effective ? effective : current;
            return 1;
        }
        char* target = nullptr;
        if ((status != 301 && status != 302) || hop == kMaxRedirectHops ||
            curl_easy_getinfo(curl.Get(), CURLINFO_REDIRECT_URL, &target) != CURLE_OK || !target || !*target)
            return 0;
        current = target;
    }
}

} // namespace ravelo
