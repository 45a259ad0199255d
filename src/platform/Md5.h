#pragma once

#include <optional>
#include <string>

namespace ravelo {

/// MD5 of the bytes as 32 lower-case hexadecimal digits.
std::string Md5Hex(const std::string& data);

/// MD5 of a file's contents, read in blocks; nothing when the file cannot be read.
std::optional<std::string> FileMd5Hex(const std::string& path);

/// Any thread. SHA-256 of a file's contents as 64 lower-case hexadecimal digits, read in blocks;
/// nothing when the file cannot be read.
std::optional<std::string> FileSha256Hex(const std::string& path);

} // namespace ravelo
