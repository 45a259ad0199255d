#include "input/ControllerGuidText.h"

#include <cstdio>

namespace ravelo {

std::string GuidText(const std::array<std::uint8_t, 16>& bytes)
{
    // The same reading Windows gives a GUID copied byte for byte, so a pad's text matches the one an
    // emulator built on that layout derives from the same 16 bytes.
    const unsigned long data1 =
        static_cast<unsigned long>(bytes[0]) | (static_cast<unsigned long>(bytes[1]) << 8) |
        (static_cast<unsigned long>(bytes[2]) << 16) | (static_cast<unsigned long>(bytes[3]) << 24);
    const unsigned data2 = bytes[4] | (bytes[5] << 8);
    const unsigned data3 = bytes[6] | (bytes[7] << 8);
    char text[40] = {};
    std::snprintf(text, sizeof text, "%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", data1, data2, data3,
                  bytes[8], bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    return text;
}

std::string ControllerGuidText(const ControllerList& controllers, std::size_t index)
{
    if (index >= controllers.size())
        return kNoControllerGuidText;
    return GuidText(controllers[index].instanceGuid);
}

} // namespace ravelo
