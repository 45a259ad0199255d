#pragma once

#include "cli/CommandDispatcher.h"

namespace ravelo::cli {

/// emulators, emulator install ID.
void RegisterEmulatorCommands(CommandDispatcher& dispatcher);

} // namespace ravelo::cli
