#include "service/RequestSlot.h"

#include "platform/StartThread.h"

namespace ravelo {

RequestSlot::~RequestSlot()
{
    Shutdown();
}

void RequestSlot::Shutdown()
{
    std::lock_guard guard(m_lock);
    m_closed = true;
    if (m_worker.joinable())
        m_worker.join();
}

bool RequestSlot::TryStart(const RequestParams& params, Work work)
{
    std::lock_guard guard(m_lock);
    if (m_closed || m_busy.load())
        return false;
    // The previous worker has its result and at most is still posting it.
    if (m_worker.joinable())
        m_worker.join();
    m_params = params;
    m_busy = true;
    m_worker = StartThread([this, params, work = std::move(work)] {
        std::function<void()> deliver;
        try {
            deliver = work(params);
        } catch (...) {
            // Work reports its own failures; nothing may escape a thread.
        }
        // Idle before delivering, so that the receiver can ask again as soon as the result arrives.
        m_busy = false;
        if (deliver)
            deliver();
    });
    return true;
}

RequestParams RequestSlot::LastParams() const
{
    std::lock_guard guard(m_lock);
    return m_params;
}

} // namespace ravelo
