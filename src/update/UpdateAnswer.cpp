#include "update/UpdateAnswer.h"

#include "platform/DebugOutput.h"
#include "platform/TextConvert.h"
#include "platform/Translate.h"
#include "service/HttpTransport.h"
#include "update/CUpdateInfo.h"
#include "update/UpdateVersion.h"

#include <json/reader.h>

#include <memory>

namespace ravelo {
namespace {

constexpr long kUpdateTimeoutSeconds = 5;

bool IsHex(const std::string& text)
{
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'F')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

UpdateAnswer DecideUpdate(bool requestOk, const std::string& body, const std::string& localVersion)
{
    UpdateAnswer answer;
    if (!requestOk || body.empty())
        return answer; // Failed
    answer.kind = UpdateAnswerKind::UpToDate;

    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    if (!reader->parse(body.data(), body.data() + body.size(), &root, &errors) || !root.isObject()) {
        DebugOutput("update: the answer is not a JSON object: " + errors);
        return answer;
    }
    CUpdateInfo info;
    try {
        info.Decode(root);
    } catch (const std::exception& error) {
        // A member of the wrong type: the answer names no version we can trust.
        DebugOutput(std::string("update: ") + error.what());
        return answer;
    }
    if (!IsNewerVersion(localVersion, info.version))
        return answer;

    answer.kind = UpdateAnswerKind::Newer;
    answer.version = info.version;
    answer.downloadUrl = info.downloadurl;
    try {
        answer.description = CapText(Utf16ToUtf8(info.description), kMaxReleaseNotes);
    } catch (const TextConversionError&) {
        answer.description.clear();
    }
    // A checksum that is not one can never match: the package is then refused, not trusted.
    answer.sha256 = Lower(info.sha256);
    if (!answer.sha256.empty() && (answer.sha256.size() != 64 || !IsHex(answer.sha256)))
        answer.sha256 = "invalid";
    return answer;
}

UpdateAnswer FetchUpdateAnswer(const std::string& updateUrl, const std::string& localVersion)
{
    std::string body;
    TransferError error;
    const bool ok =
        HttpPost(body, updateUrl, std::string(), std::string(), kUpdateTimeoutSeconds, &error) == 1;
    DebugOutput("update: " + updateUrl + " answered: " + CapText(body, 4096));
    if (!ok)
        DebugOutput("update: " + error.Describe());
    return DecideUpdate(ok, body, localVersion);
}

std::string UpdateQuestionCaption(const UpdateAnswer& answer)
{
    // TRANSLATORS: the caption is this text, the version number, then the question after it.
    return std::string(Tr("提示:检测到新版本")) + answer.version + Tr("是否更新");
}

std::string UpdateQuestionText(const UpdateAnswer& answer)
{
    return std::string(Tr("更新说明:")) + "\n\n" + answer.description;
}

std::string CapText(const std::string& text, std::size_t maxChars)
{
    std::size_t at = 0;
    std::size_t chars = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 1;
        if (at + length > text.size())
            length = text.size() - at;
        if (chars == maxChars)
            return text.substr(0, at) + "…";
        at += length;
        ++chars;
    }
    return text;
}

bool IsBrowserAddress(const std::string& url)
{
    for (const char* scheme : {"http://", "https://"}) {
        const std::string prefix(scheme);
        if (url.size() > prefix.size() && url.compare(0, prefix.size(), prefix) == 0) {
            const char first = url[prefix.size()];
            return first != '/' && first != '?' && first != '#' &&
                   url.find_first_of(" \t\r\n") == std::string::npos;
        }
    }
    return false;
}

} // namespace ravelo
