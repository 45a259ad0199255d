#pragma once

#include "cli/CommandDispatcher.h"

namespace ravelo::cli {

/// install, installed.
void RegisterDownloadCommands(CommandDispatcher& dispatcher);

} // namespace ravelo::cli
