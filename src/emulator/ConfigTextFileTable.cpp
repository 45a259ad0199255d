#include "emulator/ConfigTextFileTable.h"

#include "platform/DebugOutput.h"

#include <algorithm>
#include <cstring>

namespace ravelo {

namespace {

constexpr char kBase64Prefix[] = "base64:";
constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Digit(char c)
{
    const char* at = std::strchr(kBase64Alphabet, c);
    return (c != '\0' && at) ? static_cast<int>(at - kBase64Alphabet) : -1;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Standard Base64 with "=" padding; false on any character outside the alphabet or misplaced padding.
bool DecodeBase64(std::string_view text, std::vector<std::uint8_t>& out)
{
    std::uint32_t bits = 0;
    int bitCount = 0;
    std::size_t padding = 0;
    for (char c : text) {
        if (c == '=') {
            ++padding;
            continue;
        }
        const int digit = Base64Digit(c);
        if (digit < 0 || padding > 0)
            return false;
        bits = (bits << 6) | static_cast<std::uint32_t>(digit);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            out.push_back(static_cast<std::uint8_t>(bits >> bitCount));
        }
    }
    return padding <= 2;
}

std::string EncodeBase64(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const std::uint32_t v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6)
            text += kBase64Alphabet[(v >> shift) & 0x3F];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t v = bytes[i] << 16;
        if (rest == 2)
            v |= bytes[i + 1] << 8;
        text += kBase64Alphabet[(v >> 18) & 0x3F];
        text += kBase64Alphabet[(v >> 12) & 0x3F];
        text += rest == 2 ? kBase64Alphabet[(v >> 6) & 0x3F] : '=';
        text += '=';
    }
    return text;
}

// Leading blanks, an optional sign and at least one digit; the value wraps like the C conversion it
// replaces so that it can be truncated to the setting's width afterwards.
bool ParseDecimal(const std::string& text, std::uint64_t& value)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const std::size_t digitsStart = i;
    value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (i == digitsStart)
        return false;
    if (negative)
        value = ~value + 1;
    return true;
}

} // namespace

void ConfigTextFileTable::Add(const std::string& name, std::size_t size)
{
    Setting setting;
    setting.name = name;
    setting.size = size;
    setting.bytes.assign(size, 0);
    m_settings.push_back(std::move(setting));
}

ConfigTextFileTable::Setting* ConfigTextFileTable::Find(const std::string& name)
{
    for (Setting& setting : m_settings)
        if (setting.name == name)
            return &setting;
    return nullptr;
}

std::vector<std::uint8_t>* ConfigTextFileTable::Storage(const std::string& name)
{
    Setting* setting = Find(name);
    return setting ? &setting->bytes : nullptr;
}

std::string* ConfigTextFileTable::Text(const std::string& name)
{
    Setting* setting = Find(name);
    return setting ? &setting->text : nullptr;
}

bool ConfigTextFileTable::DecodeValue(const std::string& value, std::vector<std::uint8_t>& storage)
{
    const std::size_t size = storage.size();
    if (value.rfind(kBase64Prefix, 0) == 0) {
        std::vector<std::uint8_t> decoded;
        if (!DecodeBase64(std::string_view(value).substr(sizeof kBase64Prefix - 1), decoded))
            return false;
        const std::size_t count = std::min(decoded.size(), size);
        std::copy(decoded.begin(), decoded.begin() + static_cast<std::ptrdiff_t>(count), storage.begin());
        return true;
    }
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        const std::size_t pairs = (value.size() - 2) / 2;
        std::vector<std::uint8_t> decoded;
        for (std::size_t p = 0; p < pairs && p < size; ++p) {
            const int high = HexDigit(value[2 + 2 * p]);
            const int low = HexDigit(value[3 + 2 * p]);
            if (high < 0 || low < 0)
                return false;
            decoded.push_back(static_cast<std::uint8_t>(high * 16 + low));
        }
        std::copy(decoded.begin(), decoded.end(), storage.begin());
        return true;
    }
    if (size == 1 || size == 2 || size == 4) {
        std::uint64_t number = 0;
        if (!ParseDecimal(value, number))
            return false;
        for (std::size_t i = 0; i < size; ++i)
            storage[i] = static_cast<std::uint8_t>(number >> (8 * i));
        return true;
    }
    return false;
}

std::string ConfigTextFileTable::EncodeValue(const std::vector<std::uint8_t>& storage)
{
    switch (storage.size()) {
    case 1:
        return std::to_string(storage[0]);
    case 2:
        return std::to_string(storage[0] | (storage[1] << 8));
    case 4: {
        const std::uint32_t bits = storage[0] | (storage[1] << 8) | (storage[2] << 16) |
                                   (static_cast<std::uint32_t>(storage[3]) << 24);
        return std::to_string(static_cast<std::int32_t>(bits));
    }
    default:
        return kBase64Prefix + EncodeBase64(storage);
    }
}

int ConfigTextFileTable::Decode(const ConfigTextMap& map)
{
    int failures = 0;
    for (Setting& setting : m_settings) {
        const auto found = map.find(setting.name);
        if (found == map.end())
            continue;
        if (setting.size == 0) {
            setting.text = found->second;
        } else if (!DecodeValue(found->second, setting.bytes)) {
            DebugOutput("Config error: error parsing parameter");
            ++failures;
        }
    }
    return failures;
}

void ConfigTextFileTable::Encode(ConfigTextMap& map) const
{
    for (const Setting& setting : m_settings)
        map[setting.name] = setting.size == 0 ? setting.text : EncodeValue(setting.bytes);
}

} // namespace ravelo
