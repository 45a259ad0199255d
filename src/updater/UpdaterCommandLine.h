#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ravelo {

/// What ravelo-update is asked to do:
///   ravelo-update --install DIR --wait PID --start PROGRAM [--from DIR] [--timeout SECONDS]
struct UpdaterCommandLine
{
    std::string installFolder; // the portable install to replace
    long waitPid = 0;          // the running program; nothing is replaced while it lives
    std::string program;       // started from the install afterwards: a plain file name
    std::string sourceFolder;  // the new version's files; empty: "program/" beside the updater
    int timeoutSeconds = 120;  // how long to wait for the program to end
};

/// Reads the arguments after the program's name; nothing with `error` set when they are not usable
/// (a missing or repeated option, a process id or program name that cannot be one).
std::optional<UpdaterCommandLine> ParseUpdaterCommandLine(const std::vector<std::string>& arguments,
                                                          std::string& error);

} // namespace ravelo
