#include "library/ManualResetEvent.h"

namespace ravelo {

void ManualResetEvent::Set()
{
    {
        std::lock_guard lock(m_lock);
        m_signalled = true;
    }
    m_changed.notify_all();
}

void ManualResetEvent::Reset()
{
    std::lock_guard lock(m_lock);
    m_signalled = false;
}

bool ManualResetEvent::WaitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, timeout, [this] { return m_signalled; });
}

} // namespace ravelo
