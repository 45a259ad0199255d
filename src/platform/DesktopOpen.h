#pragma once

#include <string>

namespace ravelo {

/// Any thread. Opens a folder in the file manager, or an address in the browser, with the desktop's
/// opener (xdg-open found on PATH); does not wait for it. False when there is no opener or it cannot
/// be started.
bool OpenWithDesktop(const std::string& folderOrAddress);

/// Any thread. The first executable file called name in the folders of PATH; empty when none.
std::string FindOnPath(const std::string& name);

} // namespace ravelo
