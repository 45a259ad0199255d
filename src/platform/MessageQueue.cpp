#include "platform/MessageQueue.h"

namespace ravelo {

MessageQueue::MessageQueue() : m_handle(RegisterReceiver(this)) {}

MessageQueue::~MessageQueue()
{
    UnregisterReceiver(m_handle);
}

void MessageQueue::Deliver(Message message)
{
    {
        std::lock_guard guard(m_lock);
        m_messages.push_back(std::move(message));
    }
    m_arrived.notify_all();
}

std::optional<Message> MessageQueue::Wait(std::chrono::milliseconds timeout)
{
    std::unique_lock guard(m_lock);
    if (!m_arrived.wait_for(guard, timeout, [&] { return !m_messages.empty(); }))
        return std::nullopt;
    Message message = std::move(m_messages.front());
    m_messages.pop_front();
    return message;
}

std::optional<Message> MessageQueue::WaitFor(std::uint32_t id, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        auto message = Wait(std::max(left, std::chrono::milliseconds(0)));
        if (!message)
            return std::nullopt;
        if (message->id == id)
            return message;
    }
}

std::size_t MessageQueue::Pending() const
{
    std::lock_guard guard(m_lock);
    return m_messages.size();
}

} // namespace ravelo
