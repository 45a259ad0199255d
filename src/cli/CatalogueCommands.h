#pragma once

#include "cli/CommandDispatcher.h"

namespace ravelo::cli {

/// list, search and info: the catalogue through the same request slots the pages use.
void RegisterCatalogueCommands(CommandDispatcher& dispatcher);

} // namespace ravelo::cli
