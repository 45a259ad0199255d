#include "app/Startup.h"
#include "cli/CatalogueCommands.h"
#include "cli/CliOutput.h"
#include "cli/CommandDispatcher.h"
#include "cli/DownloadCommands.h"
#include "cli/EmulatorCommands.h"
#include "cli/LaunchCommands.h"
#include "cli/LocalCommands.h"

int main(int argc, char** argv)
{
    using namespace ravelo::cli;
    CommandDispatcher dispatcher;
    RegisterCatalogueCommands(dispatcher);
    RegisterDownloadCommands(dispatcher);
    RegisterLocalCommands(dispatcher);
    RegisterEmulatorCommands(dispatcher);
    RegisterLaunchCommands(dispatcher);

    const Arguments args(argv + 1, argv + argc);
    // Start-up exactly as the program does it (paths, folders, settings); the command stands in for
    // the main window.
    const int code = ravelo::RunProgram([&] { return dispatcher.Run(args); });
    if (code < 0) {
        PrintError("初始化网络库失败");
        return 1;
    }
    return code;
}
