#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

namespace ravelo {

/// Addresses a message receiver (a window, a CLI loop, a test). 0 is no receiver.
/// Handles are never reused, so a stale handle simply stops reaching anyone.
using WindowHandle = std::uint64_t;

constexpr std::uint32_t WM_USER = 0x400;

/// Base of every object carried by a message. The receiver owns it; if the message
/// cannot be delivered it is destroyed with the message.
class MessagePayload
{
public:
    virtual ~MessagePayload() = default;
};

template <typename T>
class TypedPayload final : public MessagePayload
{
public:
    explicit TypedPayload(std::unique_ptr<T> value) : m_value(std::move(value)) {}
    std::unique_ptr<T> Take() { return std::move(m_value); }

private:
    std::unique_ptr<T> m_value;
};

struct Message
{
    std::uint32_t id = 0;
    std::uintptr_t wParam = 0;
    std::unique_ptr<MessagePayload> payload;

    /// Hands the payload over as T, or null when the message carries none or another type.
    template <typename T>
    std::unique_ptr<T> TakePayload()
    {
        auto* typed = dynamic_cast<TypedPayload<T>*>(payload.get());
        return typed ? typed->Take() : nullptr;
    }
};

/// Something that can be posted to. Deliver runs on the posting thread, so it must only
/// queue the message (for a window: hand it to the UI thread's event loop) and never block.
class MessageReceiver
{
public:
    virtual ~MessageReceiver() = default;
    virtual void Deliver(Message message) = 0;
};

/// Registers a receiver and returns its new handle. The receiver must outlive its registration.
WindowHandle RegisterReceiver(MessageReceiver* receiver);

/// Removes a receiver. Returns once no Deliver call to it is in flight, so the receiver may be
/// destroyed right after.
void UnregisterReceiver(WindowHandle handle);

/// Thread-safe. Returns false (and destroys the payload) when the handle no longer names a receiver.
bool PostMessage(WindowHandle handle, std::uint32_t id, std::uintptr_t wParam = 0,
                 std::unique_ptr<MessagePayload> payload = nullptr);

/// Wraps any owned object as the payload.
template <typename T>
requires(!std::is_base_of_v<MessagePayload, T>) bool PostMessage(WindowHandle handle, std::uint32_t id,
                                                                 std::uintptr_t wParam,
                                                                 std::unique_ptr<T> value)
{
    return PostMessage(handle, id, wParam, std::make_unique<TypedPayload<T>>(std::move(value)));
}

/// Registers on construction and unregisters on destruction.
class ScopedReceiverRegistration
{
public:
    explicit ScopedReceiverRegistration(MessageReceiver* receiver) : m_handle(RegisterReceiver(receiver)) {}
    ~ScopedReceiverRegistration() { UnregisterReceiver(m_handle); }
    ScopedReceiverRegistration(const ScopedReceiverRegistration&) = delete;
    ScopedReceiverRegistration& operator=(const ScopedReceiverRegistration&) = delete;
    WindowHandle Handle() const { return m_handle; }

private:
    WindowHandle m_handle;
};

} // namespace ravelo
