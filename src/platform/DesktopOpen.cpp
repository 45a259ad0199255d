#include "platform/DesktopOpen.h"

#include "platform/DebugOutput.h"
#include "platform/Process.h"
#include "platform/StartThread.h"

#include <cstdlib>
#include <memory>
#include <thread>
#include <unistd.h>

namespace ravelo {

std::string FindOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    const std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = folders.substr(start, end - start);
        if (!folder.empty()) {
            const std::string candidate = folder + "/" + name;
            if (::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

bool OpenWithDesktop(const std::string& folderOrAddress)
{
    const std::string opener = FindOnPath("xdg-open");
    if (opener.empty()) {
        DebugOutput("no xdg-open to open " + folderOrAddress);
        return false;
    }
    auto process = std::make_shared<Process>();
    std::string error;
    if (!process->Start({opener, {folderOrAddress}, ""}, &error)) {
        DebugOutput(error);
        return false;
    }
    // The opener ends once it has handed the path on; reap it without holding the caller.
    StartThread([process] { process->Wait(); }).detach();
    return true;
}

} // namespace ravelo
