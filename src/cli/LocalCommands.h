#pragma once

#include "cli/CommandDispatcher.h"

namespace ravelo::cli {

/// import, scan, local.
void RegisterLocalCommands(CommandDispatcher& dispatcher);

} // namespace ravelo::cli
