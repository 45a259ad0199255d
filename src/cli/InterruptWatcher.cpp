#include "cli/InterruptWatcher.h"

#include "platform/StartThread.h"

#include <csignal>

namespace ravelo::cli {
sigset_t InterruptWatcher::WatchedSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1); // our own signal to end the watcher
    return signals;
}

InterruptWatcher::InterruptWatcher(WindowHandle receiver, std::uint32_t message)
{
    const sigset_t signals = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &signals, &m_previous);
    m_thread = StartThread([receiver, message, signals] {
        for (;;) {
            int signal = 0;
            if (sigwait(&signals, &signal) != 0 || signal == SIGUSR1)
                return;
            PostMessage(receiver, message, static_cast<std::uintptr_t>(signal));
        }
    });
}

InterruptWatcher::~InterruptWatcher()
{
    pthread_kill(m_thread.native_handle(), SIGUSR1);
    m_thread.join();
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

} // namespace ravelo::cli
