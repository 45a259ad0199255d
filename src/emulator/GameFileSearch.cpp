#include "emulator/GameFileSearch.h"

#include "platform/Decimal.h"
#include "platform/FileSystem.h"
#include "platform/PlainName.h"
#include "store/ListCodec.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace ravelo {
namespace {

constexpr int kNativePc = 138;

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The items of a system's list; none for a system without one.
std::vector<std::string> ExtensionItems(int system)
{
    const std::string list = GameFileSearch::ExtensionsOf(system);
    return list.empty() ? std::vector<std::string>() : ListCodec::SplitAll(list, ',');
}

std::string Folder(const Gameinfo& game)
{
    return game.FilePath.empty() ? std::string() : WithTrailingSeparator(game.FilePath);
}

// The files directly in folder (not folders) whose extension, from the last '.', equals extension.
std::vector<std::string> FilesWithExtension(const std::string& folder, const std::string& extension)
{
    std::vector<std::string> found;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const std::size_t dot = name.rfind('.');
        if (dot == std::string::npos || !SameIgnoringCase(name.substr(dot), extension))
            continue;
        struct stat st
        {
        };
        if (::stat((folder + name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            found.push_back(folder + name);
    }
    ::closedir(dir);
    return found;
}

} // namespace

std::string GameFileSearch::ExtensionsOf(int system)
{
    switch (system) {
    case 119:
        return ".BIN,.ISO,.IMG,.CUE,.CCD,.MDS,.PBP,.ECM";
    case 129:
        return ".iso,.cso,.pbp,.elf,.prx";
    case 142:
        return ".ISO,.mdf,.nrg,.Bin,.img,.dump,.gz,.cso";
    case 133:
        return ".cdi,.mds,.nrg,.gdi,.chd";
    case 140:
        return ".elf,.dol,.gcm,.iso,.wbfs,.ciso,.gcz,.wad";
    case 125:
        return ".nes,.nsf,.fds,.unf,.zip,.rar,.7z,.gz";
    case 120:
        return ".gba,.agb,.bin,.elf,.mb,.zip,.7z,.z,.gz,.gb,.dmg,.sgb";
    case 124:
        return ".gbc,.cgb,.zip,.7z,.z,.gz,.gb,.dmg,.sgb";
    case 122:
        return ".sms,.sg,.sc,.mv,.zip,.gg,.bin,.gen,.smd,.md";
    case 130:
        return ".zip,.n64,.rom,.usa,.jap,.pal,.bin,.v64";
    case 127:
        return ".nds,.ds.gba,.srl,.zip,.7z,.rar,.gz";
    case 121:
        return ".smc,.sfc,.zip,.7z,.rar,.gz,.snes";
    case 131:
        return ".ws,.wsc,.zip";
    case 148:
        return ".zip,.pce,.hes";
    default:
        return "";
    }
}

bool GameFileSearch::IsDiscSystem(int system)
{
    return system == 119 || system == 129 || system == 133 || system == 140 || system == 142 ||
           system == kNativePc;
}

bool GameFileSearch::IsArcadeSystem(int system)
{
    return system == 123 || system == 126 || system == 146;
}

std::optional<std::string> GameFileSearch::FindGameFile(const Gameinfo& game)
{
    const int system = ParseDecimal(game.EmulatorId);
    const std::string folder = Folder(game);
    if (folder.empty())
        return std::nullopt;
    if (system == kNativePc)
        return game.FilePath;
    if (IsArcadeSystem(system)) {
        if (IsPlainName(game.FileName) && PathExists(folder + game.FileName))
            return folder + game.FileName;
        return std::nullopt;
    }
    const std::vector<std::string> extensions = ExtensionItems(system);
    if (extensions.empty() || !IsPlainName(game.GameId))
        return std::nullopt;
    for (const std::string& extension : extensions)
        if (PathExists(folder + game.GameId + extension))
            return folder + game.GameId + extension;
    if (IsDiscSystem(system)) {
        // A disc image named after its title rather than the id: taken when it is the only one.
        for (const std::string& extension : extensions) {
            const std::vector<std::string> files = FilesWithExtension(folder, extension);
            if (files.size() == 1)
                return files.front();
        }
    }
    return std::nullopt;
}

std::vector<std::string> GameFileSearch::FindDiscs(const Gameinfo& game)
{
    std::vector<std::string> discs;
    const int system = ParseDecimal(game.EmulatorId);
    const std::string folder = Folder(game);
    if (system == kNativePc || !IsDiscSystem(system) || folder.empty() || !IsPlainName(game.GameId))
        return discs;
    const std::vector<std::string> extensions = ExtensionItems(system);
    for (const char* suffix : {"_A", "_B", "_C", "_D"}) {
        for (const std::string& extension : extensions) {
            const std::string candidate = folder + game.GameId + suffix + extension;
            if (PathExists(candidate)) {
                discs.push_back(candidate);
                break;
            }
        }
    }
    return discs;
}

} // namespace ravelo
