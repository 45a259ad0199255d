#pragma once

#include "platform/Messages.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace ravelo {

/// A receiver for code without a window (the command-line front end, tests): messages queue up
/// and a consumer thread waits for them.
class MessageQueue final : public MessageReceiver
{
public:
    MessageQueue();
    ~MessageQueue() override;

    WindowHandle Handle() const { return m_handle; }
    void Deliver(Message message) override;

    /// Waits up to timeout for the next message.
    std::optional<Message> Wait(std::chrono::milliseconds timeout);
    /// Waits up to timeout for a message with the given id; messages before it are dropped.
    std::optional<Message> WaitFor(std::uint32_t id, std::chrono::milliseconds timeout);
    std::size_t Pending() const;

private:
    mutable std::mutex m_lock;
    std::condition_variable m_arrived;
    std::deque<Message> m_messages;
    WindowHandle m_handle = 0;
};

} // namespace ravelo
