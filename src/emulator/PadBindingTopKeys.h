#pragma once

#include <string>

namespace ravelo {

/// Any thread. Sets key = value among the lines of an INI file that come before its first section, the
/// section with the empty name, replacing the key's line (names compare without regard to case) or
/// adding one after the last key there; every other line stays as it was. Creates a missing file;
/// the file is replaced atomically. False, writing nothing, when the file exists but cannot be read,
/// cannot be written (a missing folder) or a name or value would break the line structure.
bool WriteTopKey(const std::string& file, const std::string& key, const std::string& value);

} // namespace ravelo
