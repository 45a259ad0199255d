#pragma once

#include "input/PadState.h"
#include "input/PadSummary.h"
#include "platform/Messages.h"

#include <cstdint>

namespace ravelo {

/// Posted to a pad-count watcher's receiver when it registers and whenever the number of pads changes;
/// wParam = connected pads (0 to 4).
constexpr std::uint32_t UM_GAMEPAD_COUNT = WM_USER + 120; // 1144

/// Posted to a state watcher's receiver when a slot's state changed; wParam = slot (0 to 3), payload
/// PadState.
constexpr std::uint32_t WM_PAD_STATE = WM_USER + 123; // 1147

/// Posted to a state watcher's receiver when it registers and whenever a pad comes or goes; wParam =
/// connected pads (0 to 4), payload PadSummary.
constexpr std::uint32_t WM_PAD_SUMMARY = WM_USER + 131; // 1155

} // namespace ravelo
