#pragma once

#include <string>

namespace ravelo {

// The text encoding of the game-detail cache files: Base64's bit layout over the program's own table
// "A-Z a-z 1234567890 + =" and without padding. Standard Base64 decoders cannot read these files.

/// Three bytes become four symbols; a last group of one byte gives two symbols, of two bytes three.
std::string EncodeCacheText(const std::string& bytes);

/// The reverse. A character outside the table counts as symbol 0; a final single symbol is ignored.
std::string DecodeCacheText(const std::string& text);

} // namespace ravelo
