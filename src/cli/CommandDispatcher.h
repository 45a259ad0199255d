#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ravelo {
class Engines;
}

namespace ravelo::cli {

/// The arguments after the command name.
using Arguments = std::vector<std::string>;

/// Maps command names to their handlers. Each command group registers its commands; main runs one.
class CommandDispatcher
{
public:
    /// Returns the process exit code: 0 success, 1 failure (the handler has printed why).
    using Handler = std::function<int(Engines& engines, const Arguments&)>;

    /// usage is the one-line synopsis shown in the help text, e.g. "search WORDS...".
    void Register(std::string name, std::string usage, Handler handler);

    /// Runs the command named by args[0] (args excludes the program name). Unknown commands and an
    /// empty command line print the help text to stderr and give 1; "help" prints it to stdout.
    int Run(Engines& engines, const Arguments& args) const;

    std::string HelpText() const;

private:
    struct Command
    {
        std::string name;
        std::string usage;
        Handler handler;
    };
    std::vector<Command> m_commands;
};

} // namespace ravelo::cli
