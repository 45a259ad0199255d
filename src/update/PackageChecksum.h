#pragma once

#include <optional>
#include <string>

namespace ravelo {

/// Any thread. SHA-256 of a file's contents as 64 lower-case hexadecimal digits, read in blocks;
/// nothing when the file cannot be read.
std::optional<std::string> FileSha256Hex(const std::string& path);

} // namespace ravelo
