#pragma once

#include "input/ControllerRecord.h"
#include "input/DeviceChangeWatcher.h"
#include "input/PadSlots.h"
#include "input/PadState.h"
#include "platform/Messages.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace ravelo {

/// Owns SDL's joystick and game-controller subsystems on one thread of its own, since SDL's joystick
/// calls are not thread-safe. Other threads hand it work through a command queue. It sleeps until a
/// command arrives or the device watcher reports a change under /dev or from udev; only then does it
/// pump SDL, and it posts UM_GAMEPAD_COUNT to the count watchers when the number of pads changed.
/// While state watchers exist it pumps once a frame and posts each slot's state when it changed; while
/// a pad rumbles it also wakes when the rumble is due to end. SDL's subsystems are process-wide: keep
/// one instance alive at a time.
class InputThread
{
public:
    /// The state watchers' frame: how often pad states are read while someone watches them.
    static constexpr std::chrono::milliseconds kStateFrame{16};

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
    /// on the input thread). work's exceptions come back to the caller. SDL is pumped after each command,
    /// so devices the work attaches or detaches are announced before the next command runs. Not during
    /// destruction.
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

    /// Any thread. Posts the count to receiver at once and then whenever it changes, until
    /// RemovePadCountWatch or until a post fails because the receiver is gone. Used through
    /// PadCountWatcher.
    void AddPadCountWatch(WindowHandle receiver);
    /// Any thread. After this returns no further count is posted to receiver.
    void RemovePadCountWatch(WindowHandle receiver);

    /// Any thread. Posts WM_PAD_SUMMARY to receiver at once and whenever a pad comes or goes, and
    /// WM_PAD_STATE for a slot whenever its state differs from the last one posted to receiver (checked
    /// once a frame, so at most one per slot per frame), until RemoveStateWatch or a failed post.
    void AddStateWatch(WindowHandle receiver);
    /// Any thread. After this returns nothing more is posted to receiver.
    void RemoveStateWatch(WindowHandle receiver);

    /// Any thread; returns at once. Runs the pad in slot (0 to 3) at these motor speeds for duration,
    /// cut to PadSlots::kMaxRumble, so a pad never rumbles on for want of a stop; zero speeds stop it.
    /// An empty slot or a pad without motors ignores the request.
    void Rumble(std::size_t slot, std::uint16_t low, std::uint16_t high, std::chrono::milliseconds duration);
    /// Any thread; returns at once. Stops every pad's motors.
    void StopAllRumble();

private:
    struct StateWatcher
    {
        WindowHandle receiver = 0;
        std::array<std::optional<PadState>, PadSlots::kSlots> posted;
    };

    void Enqueue(std::function<void()> command);
    void Run(std::promise<void> started);
    void Pump();
    void OnSlotsChanged(unsigned changedSlots);
    bool PostSummary(WindowHandle receiver);
    void PostStates();
    void Wait(std::unique_lock<std::mutex>& guard);

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_commands;
    bool m_devicesChanged = false;
    bool m_stopping = false;

    // Input thread only once started.
    std::unique_ptr<PadSlots> m_slots; // made and dropped on the input thread, while SDL is up
    int m_postedCount = 0;
    std::vector<WindowHandle> m_countWatchers;
    std::vector<StateWatcher> m_stateWatchers;
    std::chrono::steady_clock::time_point m_nextFrame;
    std::optional<std::chrono::steady_clock::time_point> m_rumbleEnd;

    bool m_available = false;
    std::string m_initError;
    std::thread m_thread;
    // Last: it calls into the members above until it is destroyed.
    std::unique_ptr<DeviceChangeWatcher> m_devices;
};

} // namespace ravelo
