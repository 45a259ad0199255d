#pragma once

#include "store/Gameinfo.h"

#include <optional>
#include <string>
#include <vector>

namespace ravelo {

/// Where an installed catalogue game's file is: the launcher's search by system, extension list and
/// disc suffix. Names match in any case ("1001.NES" for ".nes", "1234_a.BIN" for disc "_A"), since
/// packages are made on systems that ignore case; when several names differ only in case, the one
/// written as searched wins, else the first in byte order. Paths are built from the record's folder
/// and names; a name from the server that is not a plain file name is never looked up.
class GameFileSearch
{
public:
    /// Any thread. The launcher's comma-separated extension list of a system number; empty for systems
    /// without one.
    static std::string ExtensionsOf(int system);
    /// Disc systems (the game may be split over discs "_A" to "_D"): PS, PSP, PS2, DC, WII and PC.
    static bool IsDiscSystem(int system);
    /// Arcade sets: MAME, ARCADE, MAMEPLUS.
    static bool IsArcadeSystem(int system);

    /// Any thread. The one file to start for the game, by its system (the record's EmulatorId):
    /// PC: the folder itself; disc systems: FilePath + GameId + the first extension that exists, else
    /// the only file directly in the folder with one of the extensions (any case, tried extension by
    /// extension); arcade: FilePath + FileName; cartridge systems: FilePath + GameId + extension.
    static std::optional<std::string> FindGameFile(const Gameinfo& game);

    /// Any thread. For disc systems, the first existing FilePath + GameId + suffix + extension of each
    /// suffix "_A" to "_D" in order (0 to 4 paths); empty for other systems.
    static std::vector<std::string> FindDiscs(const Gameinfo& game);
};

} // namespace ravelo
