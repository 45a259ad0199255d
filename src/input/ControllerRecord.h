#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ravelo {

/// One attached controller as the input thread saw it during one enumeration.
struct ControllerRecord
{
    /// The pad's 16-byte identity, in its in-memory byte order: SDL's joystick GUID with the last byte
    /// replaced by the pad's ordinal among the attached pads of the same GUID (0 for the first), so two
    /// identical pads differ.
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
