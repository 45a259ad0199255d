#pragma once

#include <string>
#include <vector>

namespace ravelo {

/// One entry of the system's list of installed programs; a missing value is an empty text.
struct InstalledProgram
{
    std::string DisplayIcon;
    std::string DisplayName;
    std::string DisplayVersion;
    std::string InstallLocation;
    std::string Publisher;
};

/// Which registration list of a Windows system to read: the 32-bit or the 64-bit programs.
enum class RegistryView
{
    Bits32,
    Bits64,
};

/// The view that matches the packages installed on a system of this bitness.
RegistryView RegistryViewFor(int bitness);

/// Any thread. The installed programs registered in view. This system keeps no such list (programs
/// come from the package manager, which knows nothing of Windows runtimes): always empty.
std::vector<InstalledProgram> ListInstalledPrograms(RegistryView view);

} // namespace ravelo
