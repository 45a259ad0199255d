#pragma once

#include "store/LocalGame.h"

#include <cstdint>
#include <map>
#include <string>

namespace ravelo {

/// Paths of game files found on disk mapped to the code of the system folder they were found in.
using FoundGameFiles = std::map<std::string, std::string>;

/// The comma-separated extension list of a system code (".nes,.nsf,..."); empty for codes that
/// import nothing ("ONS", the all-systems entry, unknown codes). Any thread.
std::string ExtensionListOf(const std::string& code);

/// Whether the file name's extension (from its last '.', dot included) is one of the list's items,
/// compared without regard to ASCII case. A name without a '.' never matches.
bool ExtensionMatches(const std::string& extensionList, const std::string& fileName);

/// The base name of a path: after the last separator ('/' or '\'), before the last '.'.
std::string BaseNameOf(const std::string& path);

/// The file name of a path: after the last separator ('/' or '\').
std::string FileNameOf(const std::string& path);

/// A size in MiB as the library shows it: bytes / 1048576 through single precision, "%.2f".
std::string SizeText(std::uint64_t bytes);

/// Walks LocalGameFolder + code for the system (every scanned code for 0) recursively and returns
/// each file whose extension is in its code's list. Folders that are missing or unreadable give
/// nothing; symbolic links to folders are not entered (they could loop). Nothing at all while no
/// games folder is set. Any thread; reads only the file system and LocalGameFolder.
FoundGameFiles ScanSystemFolders(int systemNumber);

/// The same walk below one given root folder (LocalGameFolder + code), for callers that watch the
/// folders themselves. Appends to found.
void ScanFolderTree(const std::string& folder, const std::string& code, FoundGameFiles& found);

/// A new record for an imported file: display name and icon as given, the size text, the system
/// code and number; IsPlay and PlayUrl stay empty. A display name that is not valid UTF-8 keeps its
/// valid characters and shows the others as U+FFFD.
LocalGame MakeLocalGame(const std::string& filePath, const std::string& displayName, const std::string& icon,
                        std::uint64_t bytes, const std::string& code, int systemNumber);

} // namespace ravelo
