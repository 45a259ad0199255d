#pragma once

#include "store/Gameinfo.h"
#include "store/LocalGame.h"

#include <cstddef>
#include <optional>
#include <string>

namespace ravelo {

// What the my-games page shows and decides, apart from its controls. Pure (the icon lookup reads the
// file system); any thread.

/// The system number of an option of the left bar's system grid, in its order "全部", PC, FC, SFC, N64,
/// WII, GBC, GBA, NDS, MD, DC, PS, PS2, PSP, PCE, WSC, ARCADE, MAME, MAME+: 0 for "全部" and for an
/// index beyond the grid.
int FilterSystemNumber(std::size_t optionIndex);

/// Whether a record of the system number text passes the list's filter (0 passes everything).
bool PassesFilter(const std::string& emulatorId, int filter);

/// The short name of a system number text as the lists show it ("FC", "MAME+"); the text itself for a
/// number that is not a system.
std::string SystemLabel(const std::string& emulatorId);

/// The size text of a record as the lists show it: "%sMB" of its Size; empty for an empty Size.
std::string SizeLabel(const std::string& size);

/// The folder an installed catalogue game was unpacked into: gamesFolder + system code + "/" + game
/// id + "/". None when no games folder is set or the code or id is not a plain name, so a path read
/// from the database is never what gets deleted.
std::optional<std::string> InstalledGameFolder(const std::string& gamesFolder, const Gameinfo& game);

/// Whether the running game (the launcher's running game path, empty when none) is the file or lies
/// inside the folder.
bool IsRunningGame(const std::string& runningPath, const std::string& fileOrFolder);

/// The icon an imported game shows, as a skin picture name or a file path: the arcade icon the import
/// found, else the system's picture ("skin\ui\local_fc.png"); for a native program the picture beside
/// it named like it (".ico", ".png", ".jpg", at most 1 MiB), else the default game icon. Empty for a
/// system without a picture.
std::string LocalGameIcon(const LocalGame& game);

/// How a new name for an imported game was judged.
enum class NameCheck
{
    Ok,
    Empty,   // nothing but blanks: the name stays as it was
    Control, // holds a control character (a line break, a tab)
    TooLong, // longer than kMaxGameNameLength characters
};

/// The longest name a game may be given, in characters.
constexpr std::size_t kMaxGameNameLength = 64;

/// Judges a new name for an imported game, trimmed of blanks at both ends (the trimmed name is written
/// back into name).
NameCheck CheckGameName(std::u16string& name);

} // namespace ravelo
