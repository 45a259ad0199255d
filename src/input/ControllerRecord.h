#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ravelo {

/// One attached controller as the input thread saw it during one enumeration.
struct ControllerRecord
{
    /// The joystick's 16-byte identity (SDL's joystick GUID), in its in-memory byte order.
    std::array<std::uint8_t, 16> instanceGuid{};
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    /// Player index SDL assigned to the device, or -1 when it has none.
    int playerIndex = -1;
    /// True when SDL knows a standard game-controller mapping for it (what we call an XInput pad).
    bool isGameController = false;
    std::string name;
};

/// Attached controllers in enumeration order; position 0 is the first pad.
using ControllerList = std::vector<ControllerRecord>;

} // namespace ravelo
