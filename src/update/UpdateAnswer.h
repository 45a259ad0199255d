#pragma once

#include <cstddef>
#include <string>

namespace ravelo {

/// What the update check found out.
enum class UpdateAnswerKind
{
    Failed,   // no answer: "获取更新信息失败"
    UpToDate, // nothing newer (also an answer that names no readable version): "Ravelo已是最新版本"
    Newer,    // ask whether to update
};

/// The update endpoint's answer as the check decided it; texts are UTF-8.
struct UpdateAnswer
{
    UpdateAnswerKind kind = UpdateAnswerKind::Failed;
    std::string version;     // the remote version text as the server gave it
    std::string downloadUrl; // the answer's "downloadurl"
    std::string description; // the release notes, at most kMaxReleaseNotes characters
    std::string sha256;      // the package's checksum in lower-case hexadecimal; empty when not given
};

/// Release notes longer than this many characters are cut (and end in "…").
constexpr std::size_t kMaxReleaseNotes = 2000;

/// Any thread. Decides an answer: requestOk is whether the request succeeded, body its text. An empty
/// body is a failure; a body that is not a JSON object, or names no version that reads as one, or
/// one that is not newer than localVersion, is up to date.
UpdateAnswer DecideUpdate(bool requestOk, const std::string& body, const std::string& localVersion);

/// Blocks the calling worker thread for the request (connection and whole request 5 s each) and
/// decides its answer.
UpdateAnswer FetchUpdateAnswer(const std::string& updateUrl, const std::string& localVersion);

/// The question's caption: "提示:检测到新版本" + version + "是否更新".
std::string UpdateQuestionCaption(const UpdateAnswer& answer);
/// The question's text: "更新说明:", two line feeds, then the release notes unchanged.
std::string UpdateQuestionText(const UpdateAnswer& answer);

/// The first maxChars characters (code points) of UTF-8 text, with "…" after a cut. Text that is not
/// valid UTF-8 is cut at a byte boundary that keeps whole sequences.
std::string CapText(const std::string& text, std::size_t maxChars);

/// Whether the address is one a browser may be asked to open: http or https with a host.
bool IsBrowserAddress(const std::string& url);

} // namespace ravelo
