#include "emulator/GameFileSearch.h"

#include "platform/Decimal.h"
#include "platform/FileSystem.h"
#include "platform/PlainName.h"
#include "store/ListCodec.h"
#include "systems/SystemTable.h"

#include <algorithm>
#include <dirent.h>
#include <map>
#include <sys/stat.h>

namespace ravelo {
namespace {

char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Only ASCII letters fold: names are UTF-8, and their other bytes must match exactly.
std::string Folded(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), FoldCase);
    return text;
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

// What is directly in a game folder, read once per search. Packages name their files in any case
// ("1001.NES", "1234_a.BIN") and the disk may tell cases apart, so names are looked up by their folded
// form; several names may share one (sorted, so which one is taken does not depend on the disk).
class FolderNames
{
public:
    explicit FolderNames(const std::string& folder) : m_folder(folder)
    {
        DIR* dir = ::opendir(folder.c_str());
        if (!dir)
            return;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                m_names[Folded(name)].push_back(name);
        }
        ::closedir(dir);
        for (auto& [folded, names] : m_names)
            std::sort(names.begin(), names.end());
    }

    // The path of the file or folder called name in any case; the name as written wins when it exists.
    std::optional<std::string> Find(const std::string& name) const
    {
        const auto found = m_names.find(Folded(name));
        if (found == m_names.end())
            return std::nullopt;
        const std::vector<std::string>& names = found->second;
        if (std::find(names.begin(), names.end(), name) != names.end() && PathExists(m_folder + name))
            return m_folder + name;
        for (const std::string& other : names)
            if (PathExists(m_folder + other)) // a dangling link is no game file
                return m_folder + other;
        return std::nullopt;
    }

    // The files directly in the folder (not folders) whose extension, from the last '.', is extension in
    // any case.
    std::vector<std::string> FilesWithExtension(const std::string& extension) const
    {
        const std::string wanted = Folded(extension);
        std::vector<std::string> found;
        for (const auto& [folded, names] : m_names) {
            const std::size_t dot = folded.rfind('.');
            if (dot == std::string::npos || folded.compare(dot, std::string::npos, wanted) != 0)
                continue;
            for (const std::string& name : names) {
                struct stat st
                {
                };
                if (::stat((m_folder + name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
                    found.push_back(m_folder + name);
            }
        }
        return found;
    }

private:
    std::string m_folder;
    std::map<std::string, std::vector<std::string>> m_names;
};

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
           IsNativeSystem(system);
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
    if (IsNativeSystem(system))
        return game.FilePath;
    if (IsArcadeSystem(system)) {
        if (!IsPlainName(game.FileName))
            return std::nullopt;
        return FolderNames(folder).Find(game.FileName);
    }
    const std::vector<std::string> extensions = ExtensionItems(system);
    if (extensions.empty() || !IsPlainName(game.GameId))
        return std::nullopt;
    const FolderNames names(folder);
    for (const std::string& extension : extensions)
        if (std::optional<std::string> found = names.Find(game.GameId + extension))
            return found;
    if (IsDiscSystem(system)) {
        // A disc image named after its title rather than the id: taken when it is the only one.
        for (const std::string& extension : extensions) {
            const std::vector<std::string> files = names.FilesWithExtension(extension);
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
    if (IsNativeSystem(system) || !IsDiscSystem(system) || folder.empty() || !IsPlainName(game.GameId))
        return discs;
    const std::vector<std::string> extensions = ExtensionItems(system);
    const FolderNames names(folder);
    for (const char* suffix : {"_A", "_B", "_C", "_D"}) {
        for (const std::string& extension : extensions) {
            if (std::optional<std::string> found = names.Find(game.GameId + suffix + extension)) {
                discs.push_back(*found);
                break;
            }
        }
    }
    return discs;
}

} // namespace ravelo
