#include "update/UpdateVersion.h"

#include <charconv>
#include <regex>
#include <tuple>

namespace ravelo {
namespace {

// The matcher recurses per character; a server's text is bounded before it is matched.
constexpr std::size_t kMaxVersionText = 64;

std::optional<int> Number(const std::ssub_match& digits)
{
    int value = 0;
    const char* first = &*digits.first;
    const char* last = first + digits.length();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<VersionNumber> ParseVersion(const std::string& text)
{
    if (text.size() > kMaxVersionText)
        return std::nullopt;
    static const std::regex pattern(R"((\d+).(\d+)\.(\d+))", std::regex::ECMAScript);
    std::smatch match;
    if (!std::regex_match(text, match, pattern))
        return std::nullopt;
    const std::optional<int> major = Number(match[1]);
    const std::optional<int> minor = Number(match[2]);
    const std::optional<int> patch = Number(match[3]);
    if (!major || !minor || !patch)
        return std::nullopt;
    return VersionNumber{*major, *minor, *patch};
}

bool IsNewerVersion(const std::string& local, const std::string& remote)
{
    const std::optional<VersionNumber> mine = ParseVersion(local);
    const std::optional<VersionNumber> theirs = ParseVersion(remote);
    if (!mine || !theirs)
        return false;
    return std::tie(theirs->major, theirs->minor, theirs->patch) >
           std::tie(mine->major, mine->minor, mine->patch);
}

} // namespace ravelo
