#include "settings/AppPaths.h"

#include "platform/FileSystem.h"
#include "platform/PrivateFolder.h"

#include <cstdlib>
#include <mutex>
#include <sstream>
#include <unistd.h>

namespace ravelo {

std::string InstanceFolder;
std::string DataFolder;
std::string ImageCacheFolder;
std::string ArcadeImageFolder;
std::string MameImageFolder;
std::string PcImageFolder;
std::string SettingsFilePath;

const char* const AppVersion = "0.0.18";
const char* const SystemCodes =
    "FC,SFC,N64,WII,GBC,GBA,NDS,MD,DC,PS,PS2,PSP,WSC,ARCADE,MAME,PCE,MAMEPLUS,ONS";
const char* const ImageExtensions = ".ico,.png,.jpg";
const char* const ArcadeNameListPath = "LocalGameRes/gamelist/arcade_ch.ini";
const char* const ArcadeIconArchivePath = "LocalGameRes/icon/arcade.zip";

namespace {

std::mutex s_gamesFolderLock;
std::string s_gamesFolder;
std::string s_localGameFolder;

std::string EnvFolder(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return WithTrailingSeparator(value && *value ? value : fallback);
}

std::string HomeFolder()
{
    return EnvFolder("HOME", "/tmp");
}

} // namespace

void ComputeProgramPaths()
{
    const char* home = std::getenv("RAVELO_HOME");
    const std::string exeFolder = ExecutableFolder();
    if (home && *home) {
        InstanceFolder = WithTrailingSeparator(home);
        SettingsFilePath = InstanceFolder + "ravelo.cfg";
    } else if (FileExists(exeFolder + "portable.txt")) {
        InstanceFolder = exeFolder;
        SettingsFilePath = InstanceFolder + "ravelo.cfg";
    } else {
        InstanceFolder = EnvFolder("XDG_DATA_HOME", HomeFolder() + ".local/share") + "ravelo/";
        SettingsFilePath = EnvFolder("XDG_CONFIG_HOME", HomeFolder() + ".config") + "ravelo/ravelo.cfg";
    }
    // One folder per user: packages are unpacked and run from it, so nobody else may write there.
    DataFolder = TemporaryFolder() + "RaveloAppStore-" + std::to_string(::geteuid()) + "/";
    ImageCacheFolder = DataFolder + "cache/image/";
    ArcadeImageFolder = DataFolder + "cache/image/arcade/";
    MameImageFolder = DataFolder + "cache/image/mame/";
    PcImageFolder = DataFolder + "cache/image/pc/";
}

bool CreateProgramFolders(std::string* error)
{
    CreateFolderChain(InstanceFolder);
    CreateFolderChain(SettingsFilePath);
    if (MakePrivateFolder(DataFolder, error) != PrivateFolderResult::Ready)
        return false;
    CreateFolderChain(ArcadeImageFolder);
    CreateFolderChain(MameImageFolder);
    CreateFolderChain(PcImageFolder);
    CreateFolderChain(ImageCacheFolder);
    return true;
}

std::string GamesFolder()
{
    std::lock_guard guard(s_gamesFolderLock);
    return s_gamesFolder;
}

std::string LocalGameFolder()
{
    std::lock_guard guard(s_gamesFolderLock);
    return s_localGameFolder;
}

void ApplyGamesFolder(const std::string& romPath)
{
    // The settings window stores the folder with its separator; a hand-edited file may not.
    std::string games = romPath.empty() ? std::string() : WithTrailingSeparator(romPath);
    std::string local = games.empty() ? std::string() : games + "LocalGame/";
    std::lock_guard guard(s_gamesFolderLock);
    s_gamesFolder = std::move(games);
    s_localGameFolder = std::move(local);
}

void CreateSystemFolders(const std::string& codes)
{
    const std::string localGames = LocalGameFolder();
    if (localGames.empty())
        return;
    std::stringstream list(codes);
    std::string code;
    while (std::getline(list, code, ','))
        if (!code.empty())
            CreateFolderChain(localGames + code + "/");
}

std::string FindShippedFile(const std::string& relativePath)
{
    const std::string exeFolder = ExecutableFolder();
    const std::string candidates[] = {InstanceFolder + relativePath, exeFolder + relativePath,
                                      exeFolder + "../share/ravelo/" + relativePath};
    for (const std::string& candidate : candidates)
        if (FileExists(candidate) || FolderExists(candidate))
            return candidate;
    return candidates[0];
}

std::string LocaleFolder()
{
    const std::string exeFolder = ExecutableFolder();
    if (FolderExists(exeFolder + "locale"))
        return exeFolder + "locale/";
    return exeFolder + "../share/locale/";
}

} // namespace ravelo
