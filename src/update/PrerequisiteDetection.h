#pragma once

#include "update/InstalledProgram.h"
#include "update/SetupTask.h"

#include <string>
#include <vector>

namespace ravelo {

// The detection rules over a given list of installed programs: the first entry whose DisplayName
// holds the rule's texts (case-sensitive) makes the package present.
bool IsVc2005InstalledIn(const std::vector<InstalledProgram>& programs);
bool IsVc2008InstalledIn(const std::vector<InstalledProgram>& programs);
bool IsVc2010InstalledIn(const std::vector<InstalledProgram>& programs);
bool IsVc2012InstalledIn(const std::vector<InstalledProgram>& programs);
bool IsXInputDriverInstalledIn(const std::vector<InstalledProgram>& programs);

/// Whether the folder directly holds all twenty D3DX9 libraries d3dx9_24.dll to d3dx9_43.dll (names
/// compared without regard to case). A folder that cannot be read counts as holding none.
bool IsDirectX9cInstalledIn(const std::string& folder);

// Any thread, cheap. The detections of this system. Its program list is empty and it has no system
// folder of Windows libraries, so every one answers false: the packages are Windows-only.
bool IsVc2005Installed();
bool IsVc2008Installed();
bool IsVc2010Installed();
bool IsVc2012Installed();
bool IsXInputDriverInstalled();
bool IsDirectX9cInstalled();

/// The detection of a runtime package's task (1 to 6); false for the other tasks.
bool IsPackageInstalled(SetupTask task);

} // namespace ravelo
