#include "app/Startup.h"
#include "cli/CatalogueCommands.h"
#include "cli/CliOutput.h"
#include "cli/CommandDispatcher.h"
#include "cli/DownloadCommands.h"
#include "cli/EmulatorCommands.h"
#include "cli/InterruptWatcher.h"
#include "cli/LaunchCommands.h"
#include "cli/LocalCommands.h"
#include "platform/Translate.h"

#include <csignal>
#include <string>

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
    // The engines' threads start with them, before any command runs, and must never take Ctrl-C: the
    // signals a command's InterruptWatcher waits for are blocked until then and opened again on this
    // thread only, where a command without a watcher ends by them as usual.
    const sigset_t watched = InterruptWatcher::WatchedSignals();
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &watched, &previous);
    // Start-up exactly as the program does it (paths, folders, settings, engines); the command stands
    // in for the main window.
    const int code = ravelo::RunProgram(
        [&](ravelo::Engines& engines) {
            pthread_sigmask(SIG_SETMASK, &previous, nullptr);
            return dispatcher.Run(engines, args);
        },
        [](const std::string& reason) { PrintError(reason); });
    if (code == ravelo::kHttpLibraryFailed)
        PrintError(ravelo::Tr("初始化网络库失败"));
    if (code < 0)
        return 1;
    return code;
}
