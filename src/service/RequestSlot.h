#pragma once

#include "platform/Messages.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace ravelo {

/// What a list request asks for, stored in its slot when it starts.
struct RequestParams
{
    int page = 1;
    int category = 0; // 0: no filter
    int emulator = 0; // 0: no filter
    int order = 0;    // 0 recommend, 1 new, 2 hot
    int language = 0; // 0: no filter
    WindowHandle window = 0;
    int pageSize = 40;
    std::string keyword; // search slot only
    int topic = 0;       // special-topic slot only
};

/// One kind of list request. The slot is busy from TryStart until its worker has its result; a request
/// made meanwhile is dropped, so the page keeps waiting for the running one. The worker is a thread the
/// slot owns and joins (at the next start, or when the slot is destroyed).
class RequestSlot
{
public:
    /// Runs on the worker: fetches and decodes, then returns what delivers the result (a post).
    using Work = std::function<std::function<void()>(const RequestParams&)>;

    RequestSlot() = default;
    ~RequestSlot();
    RequestSlot(const RequestSlot&) = delete;
    RequestSlot& operator=(const RequestSlot&) = delete;

    /// Any thread. Stores params and starts work on a new worker; false (nothing done) when busy or
    /// shut down.
    bool TryStart(const RequestParams& params, Work work);
    bool Busy() const { return m_busy.load(); }
    /// Any thread but the worker. Waits for the running worker (it ends within its request time-out)
    /// and refuses every later start.
    void Shutdown();
    /// The parameters of the last request started.
    RequestParams LastParams() const;

private:
    mutable std::mutex m_lock;
    std::thread m_worker;
    std::atomic<bool> m_busy{false};
    bool m_closed = false; // guarded by m_lock
    RequestParams m_params;
};

} // namespace ravelo
