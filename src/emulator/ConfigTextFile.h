#pragma once

#include <map>
#include <string>
#include <string_view>

namespace ravelo {

/// A name-to-value map as the table-driven emulator settings file holds it: lines of a name, blanks
/// and a value, "#" comments, names written back in byte-wise order.
using ConfigTextMap = std::map<std::string, std::string>;

/// The settings-file text format: reading into and writing out of a ConfigTextMap.
class ConfigTextFile
{
public:
    /// Any thread. Adds the pairs of text to map (a later name replaces an earlier one). The map is
    /// seeded with "!version" = "1" first, and the last pair read is stored once more at the end, so
    /// a text without pairs adds the empty name with an empty value. Never fails.
    static void Parse(std::string_view text, ConfigTextMap& map);

    /// Any thread. The text of map: each entry as name, one space, value and LF, in byte-wise order.
    static std::string Format(const ConfigTextMap& map);

    /// Any thread. Parses the file at path into map; false, leaving map untouched, when it cannot be
    /// read.
    static bool Read(const std::string& path, ConfigTextMap& map);

    /// Any thread. Replaces the file at path with Format(map), atomically, so a full disk leaves the
    /// old file; false when it cannot be written (a missing folder, for instance).
    static bool Write(const std::string& path, const ConfigTextMap& map);
};

} // namespace ravelo
