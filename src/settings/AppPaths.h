#pragma once

#include <string>

namespace ravelo {

// Program-wide paths, written once during start-up on the UI thread before any worker starts.
// Every folder path ends in '/'.
extern std::string InstanceFolder;    // the program's own files: database/, Emulator/, Crash.dmp
extern std::string DataFolder;        // caches, private to the user: <tmp>/RaveloAppStore-<uid>/
extern std::string ImageCacheFolder;  // DataFolder + "cache/image/"
extern std::string ArcadeImageFolder; // DataFolder + "cache/image/arcade/"
extern std::string MameImageFolder;   // DataFolder + "cache/image/mame/"
extern std::string PcImageFolder;     // DataFolder + "cache/image/pc/"
extern std::string SettingsFilePath;  // ravelo.cfg

/// Any thread. The games folder (the RomPath setting with a trailing separator; empty until chosen)
/// and its "LocalGame/" folder. The settings window changes them while workers read them, so they are
/// handed out as copies taken under a lock.
std::string GamesFolder();
std::string LocalGameFolder();

extern const char* const AppVersion;
extern const char* const SystemCodes;
extern const char* const ImageExtensions;
extern const char* const ArcadeNameListPath;    // relative to the shipped-files folder
extern const char* const ArcadeIconArchivePath; // relative to the shipped-files folder

/// Fills InstanceFolder, SettingsFilePath, DataFolder and the image cache folders from the
/// environment: RAVELO_HOME (one folder for everything) wins; else the executable's folder when it
/// holds portable.txt; else the XDG config and data folders.
void ComputeProgramPaths();

/// Creates DataFolder (mode 0700) and the image cache folders (and the folders of InstanceFolder and
/// SettingsFilePath, which a portable install already has). Packages are unpacked and run from
/// DataFolder, so one that is a link, belongs to another user or is open to others is never used as
/// it stands: one of ours is emptied and made again, another user's makes this fail. Returns false
/// with a reason in `error` when DataFolder cannot be made private.
bool CreateProgramFolders(std::string* error = nullptr);

/// Any thread. Sets the games folder to romPath with a trailing separator and the local-games folder
/// to it + "LocalGame/". An empty romPath clears both.
void ApplyGamesFolder(const std::string& romPath);

/// Creates LocalGameFolder() + code + "/" for each code of the comma-separated list; failures ignored.
void CreateSystemFolders(const std::string& codes);

/// Finds a read-only file shipped with the program: InstanceFolder first, then the executable's
/// folder, then the installed data folder (<prefix>/share/ravelo/). Returns the first that exists,
/// or the InstanceFolder candidate when none does.
std::string FindShippedFile(const std::string& relativePath);

/// The folder of the program's message catalogues: "locale/" beside the executable (the build tree,
/// a portable install), else the installed one ("<prefix>/share/locale/").
std::string LocaleFolder();

} // namespace ravelo
