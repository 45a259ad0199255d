#pragma once

#include "input/ControllerRecord.h"
#include "platform/Messages.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace ravelo {

/// Owns SDL's joystick and game-controller subsystems on one thread of its own, since SDL's joystick
/// calls are not thread-safe. Other threads hand it work through a command queue. While pad-count
/// watchers are registered it counts the pads every 100 ms and posts UM_GAMEPAD_COUNT to each of them.
/// SDL's subsystems are process-wide: keep one instance alive at a time.
class InputThread
{
public:
    static constexpr std::chrono::milliseconds kWatchPeriod{100};

    /// Any thread. Starts the thread and waits until SDL is initialised (or failed to be); never throws
    /// for an SDL failure: the thread then answers with empty lists and zero pads.
    InputThread();
    /// Stops and joins the thread and shuts SDL down on it. Commands still queued are run first.
    ~InputThread();
    InputThread(const InputThread&) = delete;
    InputThread& operator=(const InputThread&) = delete;

    /// Any thread. False when SDL's controller subsystems could not be started; InitError says why.
    bool Available() const { return m_available; }
    std::string InitError() const { return m_initError; }

    /// Any thread; blocks until the input thread has run work and returns its result (inline when called
    /// on the input thread). work's exceptions come back to the caller. Not during destruction.
    template <typename Work>
    std::invoke_result_t<Work> Invoke(Work work)
    {
        using Result = std::invoke_result_t<Work>;
        if (std::this_thread::get_id() == m_thread.get_id())
            return work();
        auto task = std::make_shared<std::packaged_task<Result()>>(std::move(work));
        std::future<Result> result = task->get_future();
        Enqueue([task] { (*task)(); });
        return result.get();
    }

    /// Any thread. The attached controllers in SDL's device order (only game controllers when
    /// xinputOnly is set); empty when SDL is unavailable.
    ControllerList EnumerateControllers(bool xinputOnly);
    /// Any thread. Pads in the four user slots right now (0 to 4).
    int ConnectedPadCount();

    /// Any thread. Posts the count to receiver at once and then every period until RemovePadCountWatch,
    /// or until a post fails because the receiver is gone. Used through PadCountWatcher.
    void AddPadCountWatch(WindowHandle receiver);
    /// Any thread. After this returns no further count is posted to receiver.
    void RemovePadCountWatch(WindowHandle receiver);

private:
    void Enqueue(std::function<void()> command);
    void Run(std::promise<void> started);
    void PostPadCounts();

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_commands;
    bool m_stopping = false;

    // Input thread only once started.
    std::vector<WindowHandle> m_watchers;
    std::chrono::steady_clock::time_point m_nextTick;

    bool m_available = false;
    std::string m_initError;
    std::thread m_thread;
};

} // namespace ravelo
