#pragma once

#include <string>

namespace ravelo {

/// An installed catalogue game: one row of the Gameinfo table. GameName is UTF-16 (stored as
/// UTF-8); every other field is narrow text stored as it is.
struct Gameinfo
{
    std::string GameId;
    std::string Icon;
    std::string Size;
    std::u16string GameName;
    std::string EmulatorShortName;
    std::string CategoryShortName;
    std::string IsPlay;
    std::string IsPK;
    std::string FilePath;
    std::string FileName;
    std::string EmulatorId;
    std::string CategoryId;
    std::string PlayUrl;

    bool operator==(const Gameinfo&) const = default;
};

} // namespace ravelo
