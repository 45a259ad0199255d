#pragma once

#include "platform/Messages.h"

namespace ravelo {

/// Posted by the refresh worker to the window that asked for it once the available emulators were
/// replaced by the server's list; both parameters 0, no payload.
constexpr std::uint32_t kEmulatorListRefreshed = WM_USER + 124;

/// Posted by the game launcher to its owner window: wParam 1 when the key-map tips are to be shown
/// (a game is starting), 0 when an emulator game has ended; no payload.
constexpr std::uint32_t kGameLaunchState = WM_USER + 119;

} // namespace ravelo
