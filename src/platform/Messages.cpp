#include "platform/Messages.h"

#include <mutex>
#include <unordered_map>

namespace ravelo {
namespace {

struct Registry
{
    std::mutex lock; // held across Deliver, which only queues, so a plain mutex is fair and short
    std::unordered_map<WindowHandle, MessageReceiver*> receivers;
    WindowHandle next = 1;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

} // namespace

WindowHandle RegisterReceiver(MessageReceiver* receiver)
{
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const WindowHandle handle = r.next++;
    r.receivers.emplace(handle, receiver);
    return handle;
}

void UnregisterReceiver(WindowHandle handle)
{
    Registry& r = TheRegistry();
    // Taking the lock waits for a delivery in flight to this receiver.
    std::lock_guard guard(r.lock);
    r.receivers.erase(handle);
}

bool PostMessage(WindowHandle handle, std::uint32_t id, std::uintptr_t wParam,
                 std::unique_ptr<MessagePayload> payload)
{
    Message message{id, wParam, std::move(payload)};
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const auto it = r.receivers.find(handle);
    if (it == r.receivers.end())
        return false;
    it->second->Deliver(std::move(message));
    return true;
}

} // namespace ravelo
