#include "gui/shell/ProgramWindows.h"

#include "app/Engines.h"
#include "gui/catalogue/CatalogueActions.h"
#include "gui/common/UiProbe.h"
#include "gui/play/GameStarter.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/GuiPrompts.h"
#include "gui/shell/PromptBroker.h"
#include "gui/shell/SingleInstance.h"
#include "platform/StartThread.h"
#include "settings/AppPaths.h"

#include <QCoreApplication>

namespace ravelo {

int RunWindows(Engines& engines)
{
    SingleInstance instance(QString::fromStdString(InstanceFolder));
    if (instance.HandOverToRunning())
        return 0;

    PromptBroker broker(QCoreApplication::instance());
    GuiPrompts prompts(broker);
    GameStarter starter(engines.Launcher(), prompts);
    CatalogueActions actions(engines, prompts, starter);
    // The emulator list is fetched once at start, off the UI thread; a launch or an install that
    // needs it meanwhile waits for this fetch instead of making its own.
    std::thread emulators = StartThread([&engines] { engines.LoadedEmulators(); });

    int code = 0;
    {
        CMainFrame frame({engines, prompts, starter, actions, broker});
        instance.Listen([&frame] { frame.ShowAndActivate(); });
        UiProbe::StartLatencySampler();
        code = frame.Run();
    }
    broker.Shutdown();
    actions.Shutdown();
    starter.Shutdown();
    emulators.join();
    return code;
}

} // namespace ravelo
