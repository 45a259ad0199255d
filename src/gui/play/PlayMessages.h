#pragma once

#include "platform/Messages.h"

#include <cstdint>

namespace ravelo {

// The play windows' messages to themselves.

/// My-games page → itself: wParam the generation of the installed list's fill. Imports posted before it
/// are already part of the fill they precede and are dropped.
constexpr std::uint32_t kInstalledListFence = WM_USER + 700;
/// The same for the imported list.
constexpr std::uint32_t kLocalListFence = WM_USER + 701;
/// Game file remover → my-games page: payload GameFilesRemoved.
constexpr std::uint32_t kGameFilesRemoved = WM_USER + 702;

} // namespace ravelo
