#pragma once

#include "platform/Messages.h"

#include <cstdint>

namespace ravelo {

/// WM_SETUP_PROGRESS: wParam 0, payload a SetupProgress owned by the receiver.
constexpr std::uint32_t WM_SETUP_PROGRESS = WM_USER + 107;

/// The kinds of SetupProgress.
enum SetupProgressKind : std::int32_t
{
    kSetupDownloading = 2,
    kSetupUnpacking = 5,
    kSetupError = 9,
    kSetupFinished = 10,
    kSetupInstalling = 11,
};

/// One report of the setup worker to its window.
struct SetupProgress
{
    double now = 0;        // bytes (or steps) done
    double total = 0;      // bytes (or steps) in all
    std::int32_t kind = 0; // SetupProgressKind
    std::int32_t code = 0; // the error code of kind 9 (SetupErrorText)
};

} // namespace ravelo
