#include "platform/TextConvert.h"

namespace ravelo {
namespace {

// Decodes one code point starting at text[i]; returns false on malformed input.
bool DecodeUtf8(const std::string& text, std::size_t& i, char32_t& cp)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int extra = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, min = 0x10000;
    } else {
        return false;
    }
    if (i + extra >= text.size())
        return false;
    for (int k = 1; k <= extra; ++k) {
        const unsigned char c = byte(i + k);
        if ((c & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    i += extra + 1;
    return true;
}

std::u16string ToUtf16(const std::string& text, const char* failure)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        if (!DecodeUtf8(text, i, cp))
            throw TextConversionError(failure);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string ToUtf8(const std::u16string& text, const char* failure)
{
    std::string out;
    out.reserve(text.size() * 3 / 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                throw TextConversionError(failure);
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            throw TextConversionError(failure);
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace

std::u16string Utf8ToUtf16(const std::string& utf8)
{
    return ToUtf16(utf8, "Invalid UTF-8 sequence.");
}
std::string Utf16ToUtf8(const std::u16string& utf16)
{
    return ToUtf8(utf16, "Unicode2Utf8 fail");
}
std::u16string AnsiToUtf16(const std::string& ansi)
{
    return ToUtf16(ansi, "Acsi2WideByte fail");
}
std::string Utf16ToAnsi(const std::u16string& utf16)
{
    return ToUtf8(utf16, "Error in conversion.");
}
std::string AnsiToUtf8(const std::string& ansi)
{
    return ToUtf8(ToUtf16(ansi, "La falla!"), "La falla!");
}
std::string Utf16ToOem(const std::u16string& utf16)
{
    return ToUtf8(utf16, "Error in conversion.");
}
std::string Utf8ToOem(const std::string& utf8)
{
    return Utf16ToOem(Utf8ToUtf16(utf8));
}

bool IsValidUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        if (!DecodeUtf8(text, i, cp))
            return false;
    }
    return true;
}

std::string TruncateUtf8(const std::string& text, std::size_t maxChars)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (chars++ == maxChars)
            return text.substr(0, i);
    }
    return text;
}

} // namespace ravelo
