#include "app/AppPaths.h"

#include "platform/FileSystem.h"

#include <cstdlib>
#include <sstream>

namespace ravelo {

std::string InstanceFolder;
std::string DataFolder;
std::string ImageCacheFolder;
std::string ArcadeImageFolder;
std::string MameImageFolder;
std::string PcImageFolder;
std::string SettingsFilePath;
std::string GamesFolder;
std::string LocalGameFolder;

const char* const AppVersion = "0.0.18";
const char* const SystemCodes =
    "FC,SFC,N64,WII,GBC,GBA,NDS,MD,DC,PS,PS2,PSP,WSC,ARCADE,MAME,PCE,MAMEPLUS,ONS";
const char* const ImageExtensions = ".ico,.png,.jpg";
const char* const ArcadeNameListPath = "LocalGameRes/gamelist/arcade_ch.ini";
const char* const ArcadeIconArchivePath = "LocalGameRes/icon/arcade.zip";

namespace {

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
    DataFolder = TemporaryFolder() + "RaveloAppStore/";
    ImageCacheFolder = DataFolder + "cache/image/";
    ArcadeImageFolder = DataFolder + "cache/image/arcade/";
    MameImageFolder = DataFolder + "cache/image/mame/";
    PcImageFolder = DataFolder + "cache/image/pc/";
}

void CreateProgramFolders()
{
    CreateFolderChain(InstanceFolder);
    CreateFolderChain(SettingsFilePath);
    CreateFolderChain(DataFolder);
    CreateFolderChain(ArcadeImageFolder);
    CreateFolderChain(MameImageFolder);
    CreateFolderChain(PcImageFolder);
    CreateFolderChain(ImageCacheFolder);
}

void ApplyGamesFolder(const std::string& romPath)
{
    // The settings window stores the folder with its separator; a hand-edited file may not.
    GamesFolder = romPath.empty() ? std::string() : WithTrailingSeparator(romPath);
    LocalGameFolder = GamesFolder.empty() ? std::string() : GamesFolder + "LocalGame/";
}

void CreateSystemFolders(const std::string& codes)
{
    if (LocalGameFolder.empty())
        return;
    std::stringstream list(codes);
    std::string code;
    while (std::getline(list, code, ','))
        if (!code.empty())
            CreateFolderChain(LocalGameFolder + code + "/");
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

} // namespace ravelo
