#pragma once

#include "platform/Messages.h"

#include <cstdint>

namespace ravelo {

/// Posted to a pad-count watcher's receiver about every 100 ms; wParam = connected pads (0 to 4).
constexpr std::uint32_t UM_GAMEPAD_COUNT = WM_USER + 120; // 1144

} // namespace ravelo
