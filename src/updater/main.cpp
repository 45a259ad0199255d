// ravelo-update: replaces a portable install of Ravelo with the version it was unpacked from, once the
// running program has ended, and starts the program again. Started by the program's self-update from
// the per-user data folder; writes what it did to ravelo-update.log beside itself.

#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "updater/ProcessWait.h"
#include "updater/ProgramSwap.h"
#include "updater/UpdaterCommandLine.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace ravelo;

class UpdateLog
{
public:
    explicit UpdateLog(const std::string& path) : m_file(std::fopen(path.c_str(), "a")) {}
    ~UpdateLog()
    {
        if (m_file)
            std::fclose(m_file);
    }
    UpdateLog(const UpdateLog&) = delete;
    UpdateLog& operator=(const UpdateLog&) = delete;

    void Line(const std::string& text)
    {
        const std::time_t now = std::time(nullptr);
        char stamp[32];
        std::strftime(stamp, sizeof(stamp), "%Y-%m-%d %H:%M:%S", std::localtime(&now));
        std::fprintf(stderr, "ravelo-update: %s\n", text.c_str());
        if (m_file) {
            std::fprintf(m_file, "%s %s\n", stamp, text.c_str());
            std::fflush(m_file);
        }
    }

private:
    std::FILE* m_file;
};

bool IsWritablePortableInstall(const std::string& folder)
{
    return FileExists(folder + "portable.txt") && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool StartProgram(const std::string& install, const std::string& program, UpdateLog& log)
{
    Process started;
    std::string why;
    if (!started.Start({install + program, {}, install}, &why)) {
        log.Line("cannot start " + install + program + ": " + why);
        return false;
    }
    // Left running: it is the program the user goes on with.
    log.Line("started " + install + program + " (pid " + std::to_string(started.Id()) + ")");
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    UpdateLog log(ExecutableFolder() + "ravelo-update.log");
    std::string error;
    const std::optional<UpdaterCommandLine> line =
        ParseUpdaterCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!line) {
        log.Line(error);
        return 2;
    }
    const std::string install = WithTrailingSeparator(line->installFolder);
    const std::string source = line->sourceFolder.empty() ? ExecutableFolder() + "program/"
                                                          : WithTrailingSeparator(line->sourceFolder);
    if (!IsWritablePortableInstall(install)) {
        log.Line("not a writable portable install: " + install);
        return 1;
    }

    log.Line("waiting for the program (pid " + std::to_string(line->waitPid) + ") to end");
    if (!WaitForProcessEnd(line->waitPid, std::chrono::seconds(line->timeoutSeconds))) {
        // It still runs: replacing its files now could break it. Nothing was changed.
        log.Line("the program did not end; nothing was replaced");
        return 1;
    }

    ProgramSwap swap(install, source);
    const bool replaced = swap.Run();
    for (const std::string& skipped : swap.Skipped())
        log.Line("kept the install's own " + skipped);
    if (replaced)
        log.Line("replaced " + std::to_string(swap.Replaced().size()) + " files in " + install);
    else
        log.Line("the update failed, the install is unchanged: " + swap.Error());

    // The user gets a program back either way: the new version, or the old one when the update failed.
    const bool started = StartProgram(install, line->program, log);
    return replaced && started ? 0 : 1;
}
