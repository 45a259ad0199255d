#pragma once

#include <string>
#include <vector>

namespace ravelo {

/// An installed emulator: one row of the EmulatorInfo table, identified by EmulatorId. Name and
/// Description are UTF-16 (stored as UTF-8); the table's Reserved1..8 columns are written empty
/// and have no field.
struct EmulatorInfo
{
    /// A key-binding file: user key folder file -> emulator-relative target, with a fallback.
    struct KeyConfigEntry
    {
        std::string Source;
        std::string Target;
        std::string DefaultSource;
        bool operator==(const KeyConfigEntry&) const = default;
    };

    /// A settings file: user settings folder file -> emulator-relative target.
    struct SetConfigEntry
    {
        std::string Source;
        std::string Target;
        bool operator==(const SetConfigEntry&) const = default;
    };

    std::string EmulatorId;
    std::u16string Name;
    std::string Version;
    std::string Downloadurl;
    std::string UpdateDate;
    std::u16string Description;
    int Emulatortype = 0;              // the system number
    std::string System;                // the system code
    std::vector<std::string> Executet; // executable names, in order of use
    std::string Executeparam;
    std::string Configtype;
    std::vector<KeyConfigEntry> KeyConfig;
    std::vector<SetConfigEntry> SetConfig;
    std::string IsDefault;

    bool operator==(const EmulatorInfo&) const = default;
};

} // namespace ravelo
