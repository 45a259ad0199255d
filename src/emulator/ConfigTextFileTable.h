#pragma once

#include "emulator/ConfigTextFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ravelo {

/// The settings a table-driven emulator settings file can hold, each with its own storage: size 0 is
/// text, 1, 2 and 4 are little-endian integers, any other size a binary block. Values are decoded
/// from a ConfigTextMap and encoded back into one; names the table does not carry stay as read.
class ConfigTextFileTable
{
public:
    /// Any thread. Adds a setting with zeroed storage (empty text for size 0). Not thread-safe.
    void Add(const std::string& name, std::size_t size);

    /// Any thread. Decodes every setting whose name is in map into its storage. A value that cannot
    /// be decoded leaves its storage unchanged and sends "Config error: error parsing parameter" to
    /// the debug output; the others are still decoded. Returns how many values failed.
    int Decode(const ConfigTextMap& map);

    /// Any thread. Sets each setting's entry of map to its encoded value; other entries stay.
    void Encode(ConfigTextMap& map) const;

    /// Any thread. The storage of a setting, or nullptr when the table has no such name.
    std::vector<std::uint8_t>* Storage(const std::string& name);
    /// Any thread. The text of a size-0 setting, or nullptr when the table has no such name.
    std::string* Text(const std::string& name);

    /// Any thread. One value into storage of storage.size() bytes (text settings excluded); false,
    /// storage unchanged, when the value has no decodable form.
    static bool DecodeValue(const std::string& value, std::vector<std::uint8_t>& storage);
    /// Any thread. The written form of a binary or integer storage.
    static std::string EncodeValue(const std::vector<std::uint8_t>& storage);

private:
    struct Setting
    {
        std::string name;
        std::size_t size = 0;
        std::string text;
        std::vector<std::uint8_t> bytes;
    };
    Setting* Find(const std::string& name);

    std::vector<Setting> m_settings;
};

} // namespace ravelo
