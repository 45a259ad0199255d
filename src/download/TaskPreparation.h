#pragma once

#include "download/DownloadOptions.h"
#include "platform/Messages.h"
#include "store/DownloadInfo.h"

namespace ravelo {

class DownloadPrompts;
class LibraryDatabase;

/// Makes a new task ready to transfer, on a preparation thread and without the engine's locks: asks
/// the catalogue for the game's addresses (options.fetchAddresses, else the catalogue client), fills
/// the task from them, asks the user for the source (prompts, else the servers) and inserts the
/// task's row, waiting for it. False when there are no addresses, the user closed the question or
/// the row could not be written.
bool PrepareTask(DownloadInfo& info, WindowHandle parent, const DownloadOptions& options,
                 DownloadPrompts* prompts, LibraryDatabase& database);

} // namespace ravelo
