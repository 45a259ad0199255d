#pragma once

#include <string>

namespace ravelo {

/// Whether the system's games are arcade ROM sets named by a list (MAME, ARCADE, MAMEPLUS).
bool IsArcadeSystem(int systemNumber);

/// The display name of a game: for arcade systems the name list's entry for the base name (the
/// "games" section of the shipped arcade_ch.ini) when it is not empty, else the base name itself.
/// Any thread; a missing or unreadable list simply gives the base name.
std::string FindGameName(int systemNumber, const std::string& baseName);

/// The icon file of an arcade game: base name + ".ico", ".png" or ".jpg" in the system's image
/// folder, extracting the shipped icon archive into that folder (once per folder and process, with
/// the safe extraction) when none is there yet. Empty for other systems, for a base name that
/// cannot be a plain file name, and when neither the folder nor the archive has an icon.
/// Any thread; extraction is serialised.
std::string FindGameIcon(int systemNumber, const std::string& baseName);

/// Forgets which image folders were already filled from the archive, so the next miss extracts
/// again (tests that change the folders between cases).
void ResetArcadeIconCache();

} // namespace ravelo
