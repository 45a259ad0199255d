#pragma once

#include "input/ControllerRecord.h"

#include <vector>

namespace ravelo {

// These touch SDL's joystick state, which is not thread-safe: call them only on the input thread
// (InputThread runs them for everyone else).

/// Input thread only. True when the device at this SDL device index is a game controller with a standard
/// mapping, which is what the rest of the program calls an XInput pad; false for a bad index.
bool IsXInputDevice(int deviceIndex);

/// Input thread only. The attached controllers in SDL's device order, only the XInput pads when
/// xinputOnly is set; a fresh list each call, empty when the joystick subsystem is not running.
ControllerList EnumerateControllers(bool xinputOnly);

/// Input thread only. SDL device indexes of the four user slots: the first four game controllers by
/// player index (pads without one after those with one, then in device order).
std::vector<int> UserSlotDevices();

/// Input thread only. How many of the four user slots hold a pad (0 to 4).
int ConnectedPadCount();

} // namespace ravelo
