#pragma once

#include <optional>
#include <string>

namespace ravelo {

/// The three numbers of a version text.
struct VersionNumber
{
    int major = 0;
    int minor = 0;
    int patch = 0;
};

/// Any thread. Reads a version text that as a whole matches "(\d+).(\d+)\.(\d+)": the first separator
/// is any single character ("1x2.3" reads as 1.2.3), the second a dot. Nothing for any other text
/// ("1.2", "1.2.3-beta"), for a number that does not fit an int, and for texts longer than 64 bytes.
std::optional<VersionNumber> ParseVersion(const std::string& text);

/// Any thread. Whether remote names a newer version than local: major, then minor, then patch decide
/// as integers (0.0.9 is older than 0.0.18). A text that does not read as a version is never newer.
bool IsNewerVersion(const std::string& local, const std::string& remote);

} // namespace ravelo
