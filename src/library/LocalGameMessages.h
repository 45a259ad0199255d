#pragma once

#include "platform/Messages.h"

namespace ravelo {

/// Posted to the my-games window after each import: wParam 0, payload the new LocalGame (a copy;
/// the receiver owns it, the store keeps its own).
constexpr std::uint32_t UM_LOCAL_GAME_IMPORTED = WM_USER + 117; // 1141

} // namespace ravelo
