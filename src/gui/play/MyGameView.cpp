#include "gui/play/MyGameView.h"

#include "platform/PlainName.h"
#include "systems/SystemTable.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace ravelo {

namespace {

std::string AsciiLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool IsSmallFile(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
           info.st_size <= 1024 * 1024;
}

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' ||
           c == u'\u3000' || c == u'\u00A0';
}

} // namespace

int FilterSystemNumber(std::size_t optionIndex)
{
    static constexpr std::array<int, 19> kNumbers{0,   138, 125, 121, 130, 140, 124, 120, 127, 122,
                                                  133, 119, 142, 129, 148, 131, 126, 123, 146};
    return optionIndex < kNumbers.size() ? kNumbers[optionIndex] : 0;
}

bool PassesFilter(const std::string& emulatorId, int filter)
{
    return filter == kAllSystems || emulatorId == std::to_string(filter);
}

std::string SystemLabel(const std::string& emulatorId)
{
    const std::string code = SystemNumberToCode(std::atoi(emulatorId.c_str()));
    if (code.empty())
        return emulatorId;
    return code == "MAMEPLUS" ? "MAME+" : code;
}

std::string SizeLabel(const std::string& size)
{
    return size.empty() ? std::string() : size + "MB";
}

std::optional<std::string> InstalledGameFolder(const std::string& gamesFolder, const Gameinfo& game)
{
    if (gamesFolder.empty() || !IsPlainName(game.EmulatorShortName) || !IsPlainName(game.GameId))
        return std::nullopt;
    std::string folder = gamesFolder;
    if (folder.back() != '/')
        folder += '/';
    return folder + game.EmulatorShortName + "/" + game.GameId + "/";
}

bool IsRunningGame(const std::string& runningPath, const std::string& fileOrFolder)
{
    if (runningPath.empty() || fileOrFolder.empty())
        return false;
    if (runningPath == fileOrFolder)
        return true;
    std::string folder = fileOrFolder;
    if (folder.back() != '/')
        folder += '/';
    return runningPath.compare(0, folder.size(), folder) == 0 || runningPath + "/" == folder;
}

std::string LocalGameIcon(const LocalGame& game)
{
    if (!game.Icon.empty() && IsSmallFile(game.Icon))
        return game.Icon;
    const int system = std::atoi(game.EmulatorId.c_str());
    if (system == kNativeSystem) {
        const std::size_t dot = game.FilePath.rfind('.');
        const std::size_t slash = game.FilePath.rfind('/');
        const std::string base = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                                     ? game.FilePath.substr(0, dot)
                                     : game.FilePath;
        for (const char* extension : {".ico", ".png", ".jpg"})
            if (IsSmallFile(base + extension))
                return base + extension;
        return "skin\\ui\\DefaultGameIcon.png";
    }
    std::string code = SystemNumberToCode(system);
    if (code.empty())
        return {};
    if (code == "ARCADE")
        code = "FBA";
    return "skin\\ui\\local_" + AsciiLower(code) + ".png";
}

NameCheck CheckGameName(std::u16string& name)
{
    std::size_t first = 0;
    std::size_t last = name.size();
    while (first < last && IsBlank(name[first]))
        ++first;
    while (last > first && IsBlank(name[last - 1]))
        --last;
    name = name.substr(first, last - first);
    if (name.empty())
        return NameCheck::Empty;
    for (const char16_t c : name)
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029)
            return NameCheck::Control;
    // Characters, not UTF-16 units: a pair of surrogates is one character.
    std::size_t characters = 0;
    for (const char16_t c : name)
        if (c < 0xDC00 || c > 0xDFFF)
            ++characters;
    return characters > kMaxGameNameLength ? NameCheck::TooLong : NameCheck::Ok;
}

} // namespace ravelo
