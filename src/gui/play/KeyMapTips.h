#pragma once

#include <cstddef>
#include <string>

namespace ravelo {

/// The longest tips file read; anything beyond is left out.
constexpr std::size_t kMaxKeyMapTipsBytes = 64 * 1024;

/// Any thread. The shipped tips file for a system number text ("125") and input kind (1 pad, 2
/// keyboard), relative to the program's folder ("LocalGameRes/keymap/gamepad/手柄FC.txt"); empty for a
/// system or kind without tips (native programs, unknown numbers).
std::string KeyMapTipsFile(const std::string& system, int inputKind);

/// Any thread. The text of a tips file: at most kMaxKeyMapTipsBytes (cut back to the last whole UTF-8
/// character), each line ended by LF whether the file used LF or CR LF. Empty when the file is missing
/// or not a regular file. Bytes that are not UTF-8 are left to the reader to show as replacements.
std::string ReadKeyMapTips(const std::string& path);

} // namespace ravelo
