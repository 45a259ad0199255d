#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace ravelo {

/// A manual-reset event: Set wakes every waiter and stays set until Reset. Any thread.
class ManualResetEvent
{
public:
    explicit ManualResetEvent(bool signalled) : m_signalled(signalled) {}
    void Set();
    void Reset();
    /// True when the event is (or becomes within the timeout) signalled.
    bool WaitFor(std::chrono::milliseconds timeout);

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_signalled;
};

} // namespace ravelo
