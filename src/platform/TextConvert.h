#pragma once

#include <stdexcept>
#include <string>

namespace ravelo {

/// Raised when text cannot be converted; what() is one of the fixed messages of the helpers.
class TextConversionError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Narrow text is UTF-8 on this platform: the "ANSI" and "OEM" code pages are both UTF-8.
// Each helper validates its input and throws TextConversionError on malformed text.
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& utf16);
std::u16string AnsiToUtf16(const std::string& ansi);
std::string Utf16ToAnsi(const std::u16string& utf16);
std::string AnsiToUtf8(const std::string& ansi);
std::string Utf16ToOem(const std::u16string& utf16);
std::string Utf8ToOem(const std::string& utf8);

/// True when the bytes form well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(const std::string& text);

/// Cuts text to at most maxChars code points without splitting a UTF-8 sequence.
std::string TruncateUtf8(const std::string& text, std::size_t maxChars);

} // namespace ravelo
