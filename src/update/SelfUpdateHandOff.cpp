#include "update/SelfUpdateHandOff.h"

#include "platform/FileSystem.h"

#include <climits>
#include <unistd.h>

namespace ravelo {

bool IsPortableInstall(const std::string& folder)
{
    if (folder.empty())
        return false;
    const std::string base = WithTrailingSeparator(folder);
    return FileExists(base + "portable.txt") && ::access(base.c_str(), W_OK | X_OK) == 0;
}

SelfUpdateHandOff CurrentProgramHandOff()
{
    SelfUpdateHandOff handOff;
    handOff.installFolder = ExecutableFolder();
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length > 0) {
        const std::string exe(path, static_cast<std::size_t>(length));
        handOff.program = exe.substr(exe.find_last_of('/') + 1);
    }
    handOff.waitPid = static_cast<long>(::getpid());
    return handOff;
}

std::vector<std::string> UpdaterArguments(const SelfUpdateHandOff& handOff)
{
    return {"--install", handOff.installFolder, "--wait", std::to_string(handOff.waitPid),
            "--start",   handOff.program};
}

} // namespace ravelo
