#pragma once

#include "input/PadSummary.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

namespace ravelo {

// What the gamepad test makes of a pad's state, in XInput's terms (triggers 0 to 255, sticks -32768 to
// 32767 with Y upwards). Pure; any thread.

/// A trigger lights its lamp when pressed further than this.
constexpr std::uint8_t kTriggerLampThreshold = 100;
/// A stick both of whose axes lie strictly inside ± this reads as centred (0.24 of the full range, in
/// single precision as XInput's own dead zone is reckoned).
constexpr float kStickDeadZone = 0.24f * 32767.0f;

/// The motor speed a trigger asks for: 0 for a released trigger, else trigger × 256 + 255, so a fully
/// pressed one runs the motor at 65535.
std::uint16_t MotorSpeed(std::uint8_t trigger);

/// Whether the trigger's lamp is lit.
bool TriggerLit(std::uint8_t trigger);

/// The stick as shown: centred when both axes are inside the dead zone, else as read.
std::pair<int, int> ApplyDeadZone(int x, int y);

/// Where the stick's knob sits relative to the ring's centre, in pixels (screen y downwards): each axis
/// / 32768 × (margin − 4) in single precision, truncated, so the knob travels at most margin − 4 pixels.
std::pair<int, int> KnobOffset(int x, int y, int margin);

/// The slot the test shows after a summary: the selected one while its pad stays, else the first slot
/// with a pad, none without pads.
std::optional<std::size_t> SlotToShow(const PadSummary& summary, std::optional<std::size_t> selected);

} // namespace ravelo
