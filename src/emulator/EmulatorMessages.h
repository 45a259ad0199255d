#pragma once

#include "platform/Messages.h"

namespace ravelo {

/// Posted by the refresh worker to the window that asked for it once the available emulators were
/// replaced by the server's list; both parameters 0, no payload.
constexpr std::uint32_t kEmulatorListRefreshed = WM_USER + 124;

} // namespace ravelo
