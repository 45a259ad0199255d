#include "app/Startup.h"

#include "app/Engines.h"
#include "platform/CrashHandler.h"
#include "platform/FileSystem.h"
#include "platform/Translate.h"
#include "settings/AppPaths.h"
#include "settings/AppSettings.h"

#include <cstdio>
#include <curl/curl.h>

namespace ravelo {

int RunProgram(const MainWindowRunner& runMainWindow, const StartupFailureReport& report,
               const EnginesSetupHook& adjustSetup)
{
    // The dump folder is only known once the paths are; until then a crash dumps beside the program.
    InstallCrashHandler(ExecutableFolder());
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return kHttpLibraryFailed;

    // The settings file names the user's language, so the paths come first and every text after.
    ComputeProgramPaths();
    SelectLanguage(AppSettings().Language);
    InitTranslations(LocaleFolder());

    InstallCrashHandler(InstanceFolder);
    std::string refused;
    if (!CreateProgramFolders(&refused)) {
        if (report)
            report(refused);
        else
            std::fprintf(stderr, "%s\n", refused.c_str());
        curl_global_cleanup();
        return kDataFolderRefused;
    }

    const AppSettings settings;
    if (!settings.RomPath.empty()) {
        ApplyGamesFolder(settings.RomPath);
        CreateSystemFolders(SystemCodes);
    }

    int code = 0;
    if (runMainWindow) {
        Engines::Setup setup = Engines::ProgramSetup();
        if (adjustSetup)
            adjustSetup(setup);
        Engines engines(std::move(setup));
        code = runMainWindow(engines);
        engines.Shutdown();
    }

    curl_global_cleanup();
    return code;
}

} // namespace ravelo
