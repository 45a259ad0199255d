#include "app/Startup.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "platform/CrashHandler.h"
#include "platform/FileSystem.h"

#include <clocale>
#include <curl/curl.h>

namespace ravelo {

int RunProgram(const MainWindowRunner& runMainWindow)
{
    // The dump folder is only known once the paths are; until then a crash dumps beside the program.
    InstallCrashHandler(ExecutableFolder());
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return -1;

    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C"); // numbers in files and requests are always written the C way

    ComputeProgramPaths();
    InstallCrashHandler(InstanceFolder);
    CreateProgramFolders();

    const AppSettings settings;
    if (!settings.RomPath.empty()) {
        ApplyGamesFolder(settings.RomPath);
        CreateSystemFolders(SystemCodes);
    }

    int code = 0;
    if (runMainWindow)
        code = runMainWindow();

    curl_global_cleanup();
    return code;
}

} // namespace ravelo
