#include "updater/ProcessWait.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace ravelo {
namespace {

bool Alive(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace

bool WaitForProcessEnd(long pid, std::chrono::milliseconds timeout)
{
    if (pid <= 0)
        return true;
    const auto id = static_cast<pid_t>(pid);
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, id, 0));
    if (fd >= 0) {
        // Readable once the process has ended, whoever its parent is.
        pollfd ended{fd, POLLIN, 0};
        int ready = 0;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        do {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            ready = ::poll(&ended, 1, static_cast<int>(std::max<long long>(0, left.count())));
        } while (ready < 0 && errno == EINTR);
        ::close(fd);
        return ready > 0;
    }
    if (errno == ESRCH)
        return true;
    // No process descriptors here: the only way left is to look.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Alive(id)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

} // namespace ravelo
