#include "platform/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace ravelo {

void DebugOutput(const std::string& text)
{
    static const bool enabled = [] {
        const char* flag = std::getenv("RAVELO_DEBUG");
        return flag && std::strcmp(flag, "1") == 0;
    }();
    if (!enabled)
        return;
    static std::mutex lock;
    std::lock_guard guard(lock);
    std::fwrite(text.data(), 1, text.size(), stderr);
    if (text.empty() || text.back() != '\n')
        std::fputc('\n', stderr);
}

} // namespace ravelo
