#pragma once

#include "support/ChildProcess.h"

#include <sstream>
#include <string>
#include <vector>

namespace ravelo::test {

/// What one ravelo-cli run printed on stdout, line by line, and how it ended.
struct CliResult
{
    int code = -1;
    std::vector<std::string> lines;

    /// A line split at its tabs.
    std::vector<std::string> Fields(std::size_t line) const
    {
        std::vector<std::string> fields;
        std::istringstream split(lines.at(line));
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        return fields;
    }
};

/// Runs the command-line program as a user would (a real process with this process's environment)
/// and collects its output until it ends; a run that prints nothing for 30 s counts as ended.
inline CliResult RunCli(const std::string& executable, std::vector<std::string> args)
{
    using namespace std::chrono_literals;
    args.insert(args.begin(), executable);
    ChildProcess cli(args);
    CliResult result;
    for (std::string line; !(line = cli.ReadLine(30s)).empty();)
        result.lines.push_back(line);
    result.code = cli.Wait();
    return result;
}

} // namespace ravelo::test
