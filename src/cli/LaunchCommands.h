#pragma once

#include "cli/CommandDispatcher.h"

namespace ravelo::cli {

/// launch GAMEID|PATH [--input gamepad|keyboard] [--disc N]: runs an installed or imported game in
/// its emulator and waits for it to end.
void RegisterLaunchCommands(CommandDispatcher& dispatcher);

} // namespace ravelo::cli
