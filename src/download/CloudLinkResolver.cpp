#include "download/CloudLinkResolver.h"

#include "platform/DebugOutput.h"
#include "service/CBaiduPanResponse.h"
#include "service/CatalogueRequests.h"
#include "service/CookieJarClient.h"

#include <cstdio>
#include <memory>
#include <random>
#include <regex>

namespace ravelo {
namespace {

constexpr int kCaptchaNeeded = -19;
constexpr int kMaxCaptchaRounds = 20; // a user who keeps typing wrong codes is asked again and again

bool FirstMatch(const std::string& page, const char* pattern, std::string& value)
{
    std::smatch match;
    if (!std::regex_search(page, match, std::regex(pattern)) || match.size() < 2)
        return false;
    value = match[1].str();
    return !value.empty();
}

std::string RandomDigits(int count)
{
    std::random_device seed;
    std::mt19937 generator(seed());
    std::uniform_int_distribution<int> digit(0, 8);
    std::string digits;
    for (int i = 0; i < count; ++i)
        digits.push_back(static_cast<char>('0' + digit(generator)));
    return digits;
}

} // namespace

CloudLinkResolver::CloudLinkResolver(std::string shareLink, std::string captchaImagePath,
                                     CloudDriveHosts hosts, CaptchaPrompt* prompt)
    : m_shareLink(std::move(shareLink)), m_captchaImagePath(std::move(captchaImagePath)),
      m_hosts(std::move(hosts)), m_prompt(prompt)
{
}

bool CloudLinkResolver::Fail(std::string reason)
{
    m_failure = std::move(reason);
    DebugOutput("cloud drive: " + m_failure + " (" + m_shareLink + ")");
    return false;
}

bool CloudLinkResolver::Resolve(std::string& directUrl)
{
    CookieJarClient client;
    std::string page;
    if (!client.GetText(m_shareLink, std::string(), page))
        return Fail("share page unreachable");

    std::string uk, shareId, timestamp, sign, fileId;
    if (!FirstMatch(page, R"re(FileUtils.uk="(.*?)")re", uk) ||
        !FirstMatch(page, R"re(FileUtils.shareid="(.*?)")re", shareId) ||
        !FirstMatch(page, R"re(FileUtils.timestamp="(.*?)")re", timestamp) ||
        !FirstMatch(page, R"re(FileUtils.downloadsign="(.*?)")re", sign) ||
        !FirstMatch(page, R"re(\\"fs_id\\":\\"(.*?)\\",)re", fileId))
        return Fail("share page without its download values");

    // Page values are the drive's, but they still must not reshape our request.
    const std::string request = m_hosts.shareHost + "/share/download?uk=" + PercentEncode(uk) +
                                "&shareid=" + PercentEncode(shareId) + "&fid_list=%5B" +
                                PercentEncode(fileId) + "%5D&sign=" + PercentEncode(sign) +
                                "&timestamp=" + PercentEncode(timestamp) + "&r=0." + RandomDigits(16);

    auto answer = std::make_unique<CBaiduPanResponse>();
    std::string token;
    bool captchaNeeded = false;
    for (int round = 0;; ++round) {
        std::string url = request;
        if (captchaNeeded) {
            std::string code;
            const bool answered = m_prompt && m_prompt->AskCaptcha(m_captchaImagePath, code);
            std::remove(m_captchaImagePath.c_str());
            if (!answered)
                return Fail("captcha cancelled");
            url += "&input=" + PercentEncode(code) + "&vcode=" + PercentEncode(token);
            captchaNeeded = false;
            token.clear();
        }
        std::string text;
        if (!client.GetText(url, m_shareLink, text))
            return Fail("share download request failed");
        answer = std::make_unique<CBaiduPanResponse>(); // lists only ever grow: decode into a fresh record
        try {
            if (!answer->Decode(text))
                return Fail("share download answer is not JSON");
        } catch (const std::exception& e) {
            return Fail(std::string("share download answer: ") + e.what());
        }
        if (answer->error_no != kCaptchaNeeded)
            break;
        if (round == kMaxCaptchaRounds)
            return Fail("too many captcha rounds");
        if (answer->img.empty() || !client.GetFile(answer->img, m_shareLink, m_captchaImagePath))
            return Fail("captcha picture unavailable");
        token = answer->vcode;
        captchaNeeded = true;
    }
    if (answer->error_no != 0 || answer->dlink.empty())
        return Fail("the drive refused the download (errno " + std::to_string(answer->error_no) + ")");

    std::string ignored;
    client.GetText(m_hosts.storageHost + "/rest/2.0/pcs/file?method=plantcookie&type=ett", m_shareLink,
                   ignored);
    if (!client.FollowRedirects(answer->dlink, m_shareLink, directUrl))
        return Fail("download link does not lead to the file");
    return true;
}

} // namespace ravelo
