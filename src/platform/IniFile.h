#pragma once

#include <string>

namespace ravelo {

// INI files read and written key by key, the way the classic profile calls behave:
// section and key names compare without regard to case, a missing file, section or key yields the
// fallback, and a write keeps every other section, key, comment and blank line of the file.

/// Longest value returned by ReadProfileString, in characters; longer values are cut.
constexpr std::size_t kMaxProfileValueChars = 1023;

/// Reads one value. Surrounding blanks are trimmed and one pair of matching quotes removed.
std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& fallback);

/// Writes one value, creating the file or section when absent. The file is replaced atomically and
/// writers in other processes are serialised, so the file is never left truncated. Returns false,
/// writing nothing, when a name or the value holds a line break (it would inject a new line) or a
/// name holds characters that cannot round-trip ('=' in a key, ']' in a section, leading or
/// trailing blanks), or when the file cannot be written.
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

} // namespace ravelo
