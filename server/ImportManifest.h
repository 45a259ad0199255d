#pragma once

#include <string>
#include <vector>

namespace ravelo::server {

/// One game of an import manifest, as written: names and paths are checked against the catalogue and
/// the folder by the importer.
struct ManifestGame
{
    int line = 0;                     ///< 1-based line number in the manifest
    int gameId = 0;                   ///< > 0; an id the catalogue has is updated, a new one added
    std::string archive;              ///< zip file, relative to the manifest's folder
    std::string name;                 ///< display name
    std::string system;               ///< system code ("FC", "PS", ...)
    std::string category;             ///< category id or name
    std::string language;             ///< language id or name
    std::string icon;                 ///< picture, relative to the manifest's folder
    std::vector<std::string> screens; ///< pictures, relative to the manifest's folder
};

/// A refused line and why, in the user's words.
struct ManifestProblem
{
    int line = 0;
    std::string reason;
};

/// The import manifest: UTF-8 text, one game a line, eight fields separated by '|' with the spaces
/// around them ignored; blank lines and lines starting with '#' are skipped:
///
///     gameid | archive | name | system | category | language | icon | screenshots
///     1001   | contra.zip | 魂斗罗 | FC | 射击 | 中文 | contra.png | contra_1.png contra_2.png
///
/// Screenshots are separated by spaces and may be left empty.
class ImportManifest
{
public:
    /// Splits the text into games; every line that cannot be one is a problem with its reason. A
    /// game id given twice is a problem on its second line.
    static ImportManifest Parse(const std::string& text);

    std::vector<ManifestGame> games;
    std::vector<ManifestProblem> problems;

    static constexpr std::size_t MaxScreens = 8;
    static constexpr std::size_t MaxNameBytes = 200;
};

} // namespace ravelo::server
