#pragma once

#include <string>
#include <vector>

namespace ravelo {

/// What the updater needs to replace a portable install: where it is, which program to start again
/// and which running program to wait for first.
struct SelfUpdateHandOff
{
    std::string installFolder; // the program's folder, ending in '/'
    std::string program;       // started after the update; a file name inside installFolder ("ravelo")
    long waitPid = 0;          // the running program; the updater replaces nothing while it lives
};

/// The updater's file name inside the update package (and its name in the data folder's "update/").
inline constexpr const char* kUpdaterProgram = "ravelo-update";

/// Any thread. Whether folder is a portable install the program may update in place: it holds
/// "portable.txt" and the program may write to it. An installed program (no "portable.txt") is
/// updated by the system's package manager instead.
bool IsPortableInstall(const std::string& folder);

/// Any thread. The hand-off of the running program: its executable's folder and file name, and its
/// own process id.
SelfUpdateHandOff CurrentProgramHandOff();

/// The updater's command line after its own name: "--install DIR --wait PID --start PROGRAM".
std::vector<std::string> UpdaterArguments(const SelfUpdateHandOff& handOff);

} // namespace ravelo
