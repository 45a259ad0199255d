#include "KeyFileSummary.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace ravelo::demoemu {

namespace {

constexpr std::size_t kPads = 4;
constexpr std::size_t kButtons = 10;
constexpr std::size_t kRecordBytes = 84;
constexpr std::size_t kGuidOffset = 20;
constexpr std::size_t kBlockBytes = kPads * kButtons * kRecordBytes;

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

int Base64Value(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/// The bytes of a "base64:" or "0x" value; false for anything else or a broken encoding.
bool DecodeBlock(const std::string& value, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    if (value.rfind("base64:", 0) == 0) {
        std::uint32_t buffer = 0;
        int bits = 0;
        for (std::size_t i = 7; i < value.size() && value[i] != '='; ++i) {
            const int digit = Base64Value(value[i]);
            if (digit < 0)
                return false;
            buffer = (buffer << 6) | static_cast<std::uint32_t>(digit);
            bits += 6;
            if (bits >= 8) {
                bits -= 8;
                bytes.push_back(static_cast<std::uint8_t>(buffer >> bits));
            }
        }
        return true;
    }
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        for (std::size_t i = 2; i + 1 < value.size(); i += 2) {
            const int high = HexValue(value[i]);
            const int low = HexValue(value[i + 1]);
            if (high < 0 || low < 0)
                return false;
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
        }
        return true;
    }
    return false;
}

/// GUIDs of the pads of a GamePadConfig block: the device of each pad's first button record.
void ReadGamePadConfig(const std::string& value, KeyFileSummary& summary)
{
    std::vector<std::uint8_t> block;
    if (!DecodeBlock(value, block) || block.size() < kBlockBytes)
        return;
    for (std::size_t pad = 0; pad < kPads; ++pad) {
        BoundPad bound;
        const std::size_t at = pad * kButtons * kRecordBytes + kGuidOffset;
        std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(at), bound.guid.size(), bound.guid.begin());
        if (std::all_of(bound.guid.begin(), bound.guid.end(), [](std::uint8_t b) { return b == 0; }))
            continue;
        bound.player = static_cast<int>(pad) + 1;
        bound.hasGuid = true;
        bound.identity = KeyFileSummary::GuidText(bound.guid);
        summary.pads.push_back(bound);
    }
}

void SetInputKind(const std::string& value, KeyFileSummary& summary)
{
    summary.kindKnown = value == "gamepad" || value == "keyboard";
    summary.gamepad = value == "gamepad";
}

void ReadTextFormat(const std::string& text, KeyFileSummary& summary)
{
    for (const std::string& raw : Lines(text)) {
        const std::string line = Trimmed(raw);
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t blank = line.find_first_of(" \t");
        const std::string name = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? std::string() : Trimmed(line.substr(blank));
        if (name == "InputKind")
            SetInputKind(value, summary);
        else if (name.rfind("Key.", 0) == 0)
            summary.keys.emplace_back(name.substr(4), value);
        else if (name == "GamePadConfig")
            ReadGamePadConfig(value, summary);
    }
}

/// Reads a GUID text back into bytes; false unless it has the 8-4-4-4-12 shape.
bool ParseGuidText(const std::string& text, std::array<std::uint8_t, 16>& bytes)
{
    std::string hex;
    for (char c : text) {
        if (c != '-')
            hex += c;
    }
    if (text.size() != 36 || hex.size() != 32)
        return false;
    std::array<std::uint8_t, 16> ordered{};
    for (std::size_t i = 0; i < 16; ++i) {
        const int high = HexValue(hex[2 * i]);
        const int low = HexValue(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        ordered[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    // The text shows the first three fields most significant byte first; memory holds them reversed.
    const std::size_t order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (std::size_t i = 0; i < 16; ++i)
        bytes[order[i]] = ordered[i];
    return true;
}

void ReadIniFormat(const std::string& text, KeyFileSummary& summary)
{
    std::string section;
    std::map<int, BoundPad> pads;
    for (const std::string& raw : Lines(text)) {
        const std::string line = Trimmed(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            section = Trimmed(line.substr(1, line.find(']') - 1));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = Trimmed(line.substr(0, equals));
        const std::string value = Trimmed(line.substr(equals + 1));
        if (section.empty() && key == "InputKind") {
            SetInputKind(value, summary);
        } else if (section.empty() && key.size() == 14 && key.rfind("Joystick", 0) == 0 &&
                   key.compare(9, 5, "Using") == 0 && key[8] >= '1' && key[8] <= '4') {
            // 0 is the keyboard; 2 and up name the attached pads in order.
            const int player = key[8] - '0';
            const int use = std::atoi(value.c_str());
            if (use >= 2) {
                BoundPad& pad = pads[player];
                pad.player = player;
                pad.padIndex = use - 2;
                pad.identity = key + "=" + value;
            }
        } else if (section == "Keys") {
            summary.keys.emplace_back(key, value);
        } else if (section.rfind("DirectInput-Controller ", 0) == 0 && key == "GUID") {
            const int player = std::atoi(section.c_str() + 23) + 1;
            BoundPad& pad = pads[player];
            pad.player = player;
            pad.identity = value;
            pad.hasGuid =
                ParseGuidText(value, pad.guid) &&
                !std::all_of(pad.guid.begin(), pad.guid.end(), [](std::uint8_t b) { return b == 0; });
            if (!pad.hasGuid)
                pads.erase(player);
        }
    }
    for (const auto& [player, pad] : pads)
        summary.pads.push_back(pad);
}

} // namespace

std::string KeyFileSummary::InputKindText() const
{
    if (!kindKnown)
        return "未知";
    return gamepad ? "手柄" : "键盘";
}

KeyFileSummary KeyFileSummary::Read(const std::string& path, const std::string& format)
{
    KeyFileSummary summary;
    std::string text;
    if (path.empty() || !ReadWholeFile(path, text))
        return summary;
    summary.found = true;
    if (format == "ini")
        ReadIniFormat(text, summary);
    else
        ReadTextFormat(text, summary);
    return summary;
}

std::string KeyFileSummary::GuidText(const std::array<std::uint8_t, 16>& b)
{
    char text[40];
    std::snprintf(text, sizeof(text), "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  b[3], b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return text;
}

} // namespace ravelo::demoemu
