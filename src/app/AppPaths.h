#pragma once

#include <string>

namespace ravelo {

// Program-wide paths, written during start-up on the UI thread (and by the settings window when
// the games folder changes). Every folder path ends in '/'.
extern std::string InstanceFolder;    // the program's own files: database/, Emulator/, Crash.dmp
extern std::string DataFolder;        // caches under the temporary folder: <tmp>/RaveloAppStore/
extern std::string ImageCacheFolder;  // DataFolder + "cache/image/"
extern std::string ArcadeImageFolder; // DataFolder + "cache/image/arcade/"
extern std::string MameImageFolder;   // DataFolder + "cache/image/mame/"
extern std::string PcImageFolder;     // DataFolder + "cache/image/pc/"
extern std::string SettingsFilePath;  // ravelo.cfg
extern std::string GamesFolder;       // the RomPath setting, verbatim; empty until chosen
extern std::string LocalGameFolder;   // GamesFolder + "LocalGame/"

extern const char* const AppVersion;
extern const char* const SystemCodes;
extern const char* const ImageExtensions;
extern const char* const ArcadeNameListPath;    // relative to the shipped-files folder
extern const char* const ArcadeIconArchivePath; // relative to the shipped-files folder

/// Fills InstanceFolder, SettingsFilePath, DataFolder and the image cache folders from the
/// environment: RAVELO_HOME (one folder for everything) wins; else the executable's folder when it
/// holds portable.txt; else the XDG config and data folders.
void ComputeProgramPaths();

/// Creates DataFolder and the image cache folders (and the folders of InstanceFolder and
/// SettingsFilePath, which a portable install already has).
void CreateProgramFolders();

/// Sets GamesFolder to romPath verbatim and LocalGameFolder to romPath + "LocalGame/" (plain
/// concatenation, as stored). An empty romPath clears both.
void ApplyGamesFolder(const std::string& romPath);

/// Creates LocalGameFolder + code + "/" for each code of the comma-separated list; failures ignored.
void CreateSystemFolders(const std::string& codes);

/// Finds a read-only file shipped with the program: InstanceFolder first, then the executable's
/// folder, then the installed data folder (<prefix>/share/ravelo/). Returns the first that exists,
/// or the InstanceFolder candidate when none does.
std::string FindShippedFile(const std::string& relativePath);

} // namespace ravelo
