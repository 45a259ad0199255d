#pragma once

#include <string>

namespace ravelo {

/// A game imported from disk: one row of the LocalGame table, identified by FilePath. GameName is
/// UTF-16 (stored as UTF-8); every other field is narrow text stored as it is.
struct LocalGame
{
    std::u16string GameName;
    std::string Icon;
    std::string Size;
    std::string EmulatorShortName;
    std::string IsPlay;
    std::string FilePath;
    std::string FileName;
    std::string EmulatorId;
    std::string PlayUrl;

    bool operator==(const LocalGame&) const = default;
};

} // namespace ravelo
