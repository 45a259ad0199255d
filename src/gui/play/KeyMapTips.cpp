#include "gui/play/KeyMapTips.h"

#include "emulator/InputKind.h"

#include <fstream>
#include <map>
#include <sys/stat.h>

namespace ravelo {

std::string KeyMapTipsFile(const std::string& system, int inputKind)
{
    // Both arcade sets of MAME share one text; ARCADE's emulator is FBA.
    static const std::map<std::string, std::string> kTips{
        {"119", "PS"}, {"120", "GBA"}, {"121", "SFC"}, {"122", "MD"},   {"123", "MAME"}, {"124", "GBC"},
        {"125", "FC"}, {"126", "FBA"}, {"127", "NDS"}, {"129", "PSP"},  {"130", "N64"},  {"131", "WSC"},
        {"133", "DC"}, {"140", "WII"}, {"142", "PS2"}, {"146", "MAME"}, {"148", "PCE"}};
    const auto found = kTips.find(system);
    if (found == kTips.end())
        return {};
    if (inputKind == kInputKindGamepad)
        return "LocalGameRes/keymap/gamepad/手柄" + found->second + ".txt";
    if (inputKind == kInputKindKeyboard)
        return "LocalGameRes/keymap/keyboard/键盘" + found->second + ".txt";
    return {};
}

namespace {

/// The length of text without a UTF-8 sequence cut off at its end.
std::size_t WholeCharacters(const std::string& text)
{
    std::size_t end = text.size();
    std::size_t back = 0;
    while (back < 4 && back < end && (static_cast<unsigned char>(text[end - 1 - back]) & 0xC0) == 0x80)
        ++back;
    if (back == end)
        return end;
    const auto lead = static_cast<unsigned char>(text[end - 1 - back]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length > back + 1 ? end - 1 - back : end;
}

} // namespace

std::string ReadKeyMapTips(const std::string& path)
{
    struct stat info
    {
    };
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    // One byte more than the cap tells whether the file was cut; only a cut may split a character.
    std::string raw(kMaxKeyMapTipsBytes + 1, '\0');
    file.read(raw.data(), static_cast<std::streamsize>(raw.size()));
    raw.resize(static_cast<std::size_t>(file.gcount()));
    if (raw.size() > kMaxKeyMapTipsBytes) {
        raw.resize(kMaxKeyMapTipsBytes);
        raw.resize(WholeCharacters(raw));
    }

    std::string text;
    text.reserve(raw.size() + 1);
    std::size_t start = 0;
    while (start < raw.size()) {
        std::size_t end = raw.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = raw.size();
        std::size_t lineEnd = end;
        if (lineEnd > start && raw[lineEnd - 1] == '\r')
            --lineEnd;
        text.append(raw, start, lineEnd - start);
        text += '\n';
        start = end + 1;
    }
    return text;
}

} // namespace ravelo
