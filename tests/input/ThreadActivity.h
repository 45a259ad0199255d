#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace ravelo::test {

/// How often this process's thread called name (as it named itself) has been switched out so far: it
/// grows each time the thread wakes up and sleeps again. -1 when no such thread runs.
inline long ContextSwitches(const std::string& name)
{
    namespace fs = std::filesystem;
    for (const fs::directory_entry& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string threadName;
        std::getline(comm, threadName);
        if (threadName != name)
            continue;
        std::ifstream status(task.path() / "status");
        long switches = 0;
        for (std::string line; std::getline(status, line);) {
            std::istringstream fields(line);
            std::string key;
            long value = 0;
            if (fields >> key >> value &&
                (key == "voluntary_ctxt_switches:" || key == "nonvoluntary_ctxt_switches:"))
                switches += value;
        }
        return switches;
    }
    return -1;
}

} // namespace ravelo::test
