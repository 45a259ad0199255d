#pragma once

#include <string>

namespace ravelo {

/// Asks the user for the code shown in a captcha picture. Called on the resolving (transfer) thread,
/// which blocks until the answer; the implementation shows its dialog on the UI thread (or the
/// terminal) and holds no lock the UI thread needs.
class CaptchaPrompt
{
public:
    virtual ~CaptchaPrompt() = default;
    /// True with the typed code; false when the user cancelled.
    virtual bool AskCaptcha(const std::string& imagePath, std::string& code) = 0;
};

/// Where the cloud drive answers: its share download endpoint and its storage endpoint.
struct CloudDriveHosts
{
    std::string shareHost;   // e.g. "https://pan.baidu.com", without trailing '/'
    std::string storageHost; // e.g. "https://pcs.baidu.com", without trailing '/'
};

/// Turns one cloud-drive share link into a direct download address: reads the share page, asks the
/// drive for the file (with as many captcha rounds as it wants), plants the storage cookie and walks
/// the download link's redirects. Everything runs on the calling thread with one cookie store.
class CloudLinkResolver
{
public:
    /// captchaImagePath: where a captcha picture is stored while the user reads it (removed after).
    CloudLinkResolver(std::string shareLink, std::string captchaImagePath, CloudDriveHosts hosts,
                      CaptchaPrompt* prompt);

    /// Blocks for the whole exchange. True with the direct address in directUrl; false when the page
    /// lacks its values, a request fails, the user cancels a captcha or the drive refuses.
    bool Resolve(std::string& directUrl);

    /// Why the last Resolve failed, for the debug output.
    const std::string& Failure() const { return m_failure; }

private:
    bool Fail(std::string reason);

    std::string m_shareLink;
    std::string m_captchaImagePath;
    CloudDriveHosts m_hosts;
    CaptchaPrompt* m_prompt;
    std::string m_failure;
};

} // namespace ravelo
