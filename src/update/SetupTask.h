#pragma once

#include "store/EmulatorInfo.h"
#include "update/SetupOptions.h"

#include <string>

namespace ravelo {

/// What the setup popup does: the self-update hand-off, one of the runtime packages, or an emulator.
enum class SetupTask : int
{
    SelfUpdate = 0,
    XInputDriver = 1,
    DirectX9c = 2,
    Vc2005 = 3,
    Vc2008 = 4,
    Vc2010 = 5,
    Vc2012 = 6,
    Emulator = 7,
};

/// True for the runtime packages (tasks 1 to 6), the ones that only a Windows system can install.
bool IsRuntimePackage(SetupTask task);

/// Any thread. Whether this system can carry out the task: the runtime packages are Windows
/// installers, not applicable here unless the options say otherwise. A window lists a task that is not
/// applicable as such and never offers to install it.
bool IsSetupApplicable(SetupTask task, const SetupOptions& options = {});

/// Any thread. The popup's caption; for an emulator "安装" + name + " " + version (emulator may be
/// null for the other tasks).
std::string SetupCaption(SetupTask task, const EmulatorInfo* emulator = nullptr);

/// The package's path on the package host ("/download/Xinput64.zip"); empty for an emulator, whose
/// address is its record's.
std::string PackagePath(SetupTask task, int bitness);

/// The address of the package: packageHost is the host's "/download/" folder (a trailing '/' is
/// optional), to which the file name of PackagePath is appended. Empty for an emulator.
std::string PackageAddress(const std::string& packageHost, SetupTask task, int bitness);

/// The archive's file name in the data folder ("Xinput.zip", "Emulator.zip", ...).
std::string LocalArchiveName(SetupTask task);

/// The installer inside the archive (for the self-update the updater, "ravelo-update"); empty for an
/// emulator (the archive is the emulator itself).
std::string InstallerName(SetupTask task, int bitness);

/// The installer's parameter text ("/q"); empty for the self-update and an emulator.
std::string InstallerParameters(SetupTask task);

/// Any thread. 64 on a 64-bit processor architecture (x86_64, aarch64, ppc64, ...), else 32.
int GetOsBitness();

/// The bitness of a machine name as uname reports it: 64 for the 64-bit architectures, else 32.
int OsBitnessOfMachine(const std::string& machine);

} // namespace ravelo
