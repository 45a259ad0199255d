#include "library/ArcadeResources.h"

#include "download/CZip.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "settings/AppPaths.h"

#include <mutex>
#include <set>
#include <sstream>

namespace ravelo {
namespace {

constexpr int kMame = 123;
constexpr int kArcade = 126;
constexpr int kMamePlus = 146;

std::mutex s_extractLock;
std::set<std::string> s_extractedFolders; // guarded by s_extractLock

std::string ImageFolderOf(int systemNumber)
{
    return systemNumber == kArcade ? ArcadeImageFolder : MameImageFolder;
}

std::string FindExistingIcon(const std::string& folder, const std::string& baseName)
{
    std::stringstream list(ImageExtensions);
    for (std::string extension; std::getline(list, extension, ',');) {
        const std::string candidate = folder + baseName + extension;
        if (FileExists(candidate))
            return candidate;
    }
    return std::string();
}

// A ROM set name from a file name: it must stay a plain name inside the image folder.
bool IsPlainBaseName(const std::string& baseName)
{
    return !baseName.empty() && baseName != "." && baseName != ".." &&
           baseName.find_first_of("/\\") == std::string::npos && baseName.find('\0') == std::string::npos;
}

} // namespace

bool IsArcadeSystem(int systemNumber)
{
    return systemNumber == kMame || systemNumber == kArcade || systemNumber == kMamePlus;
}

std::string FindGameName(int systemNumber, const std::string& baseName)
{
    if (!IsArcadeSystem(systemNumber) || baseName.empty())
        return baseName;
    const std::string listed = ReadProfileString(FindShippedFile(ArcadeNameListPath), "games", baseName, "");
    return listed.empty() ? baseName : listed;
}

std::string FindGameIcon(int systemNumber, const std::string& baseName)
{
    if (!IsArcadeSystem(systemNumber) || !IsPlainBaseName(baseName))
        return std::string();
    const std::string folder = ImageFolderOf(systemNumber);
    if (folder.empty())
        return std::string();
    if (std::string found = FindExistingIcon(folder, baseName); !found.empty())
        return found;

    const std::string archive = FindShippedFile(ArcadeIconArchivePath);
    {
        std::lock_guard lock(s_extractLock);
        if (s_extractedFolders.count(folder) || !FileExists(archive))
            return std::string();
        // Unpack the whole archive once: later imports then find their icons in the folder.
        CreateFolderChain(folder);
        CZip zip;
        if (!zip.ZipExtract(archive, folder))
            DebugOutput("arcade icons: extraction into " + folder + " incomplete: " + zip.LastError());
        s_extractedFolders.insert(folder);
    }
    return FindExistingIcon(folder, baseName);
}

void ResetArcadeIconCache()
{
    std::lock_guard lock(s_extractLock);
    s_extractedFolders.clear();
}

} // namespace ravelo
