#pragma once

#include "platform/Messages.h"

#include <pthread.h>
#include <thread>

namespace ravelo::cli {

/// What a watcher posts for Ctrl-C or SIGTERM (wParam: the signal) to the commands that stop cleanly.
inline constexpr std::uint32_t UM_CLI_INTERRUPT = WM_USER + 900;

/// Turns Ctrl-C (SIGINT) and SIGTERM into a message for a waiting loop: the signals are blocked in
/// every thread made after construction and taken by one thread with sigwait, which posts `message`
/// to `receiver`. Construct it before any other thread of the command starts.
class InterruptWatcher
{
public:
    InterruptWatcher(WindowHandle receiver, std::uint32_t message);
    ~InterruptWatcher();
    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

    /// The signals a watcher takes (SIGINT, SIGTERM and the one that ends it).
    static sigset_t WatchedSignals();

private:
    sigset_t m_previous{};
    std::thread m_thread;
};

} // namespace ravelo::cli
