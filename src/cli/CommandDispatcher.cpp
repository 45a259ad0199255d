#include "cli/CommandDispatcher.h"

#include "cli/CliOutput.h"
#include "platform/Translate.h"

#include <cstdio>

namespace ravelo::cli {

void CommandDispatcher::Register(std::string name, std::string usage, Handler handler)
{
    m_commands.push_back(Command{std::move(name), std::move(usage), std::move(handler)});
}

int CommandDispatcher::Run(Engines& engines, const Arguments& args) const
{
    if (args.empty()) {
        std::fputs(HelpText().c_str(), stderr);
        return 1;
    }
    const std::string& name = args.front();
    if (name == "help" || name == "--help" || name == "-h") {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    }
    for (const Command& command : m_commands)
        if (command.name == name)
            return command.handler(engines, Arguments(args.begin() + 1, args.end()));
    PrintError(Tr("未知命令: ") + name);
    std::fputs(HelpText().c_str(), stderr);
    return 1;
}

std::string CommandDispatcher::HelpText() const
{
    std::string text = Tr("用法:\n");
    for (const Command& command : m_commands)
        text += "  ravelo-cli " + command.usage + "\n";
    return text;
}

} // namespace ravelo::cli
