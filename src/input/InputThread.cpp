#include "input/InputThread.h"

#include "input/ControllerEnumeration.h"
#include "input/InputMessages.h"
#include "platform/DebugOutput.h"
#include "platform/StartThread.h"

#include <SDL.h>

#include <algorithm>
#include <pthread.h>

namespace ravelo {

namespace {

constexpr Uint32 kSubsystems = SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK;

bool IsDeviceEvent(Uint32 type)
{
    switch (type) {
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEREMAPPED:
        return true;
    default:
        return false;
    }
}

} // namespace

InputThread::InputThread()
{
    // Watch before SDL looks for the first time, so a pad plugged in meanwhile is not missed.
    m_devices = std::make_unique<DeviceChangeWatcher>([this] {
        {
            std::lock_guard guard(m_lock);
            m_devicesChanged = true;
        }
        m_wake.notify_all();
    });
    std::promise<void> started;
    std::future<void> ready = started.get_future();
    m_thread = StartThread([this, promise = std::move(started)]() mutable { Run(std::move(promise)); });
    ready.wait();
}

InputThread::~InputThread()
{
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
    m_devices.reset();
}

void InputThread::Enqueue(std::function<void()> command)
{
    {
        std::lock_guard guard(m_lock);
        m_commands.push_back(std::move(command));
    }
    m_wake.notify_all();
}

ControllerList InputThread::EnumerateControllers(bool xinputOnly)
{
    return Invoke([xinputOnly] { return ravelo::EnumerateControllers(xinputOnly); });
}

int InputThread::ConnectedPadCount()
{
    return Invoke([] { return ravelo::ConnectedPadCount(); });
}

void InputThread::AddPadCountWatch(WindowHandle receiver)
{
    Invoke([this, receiver] {
        if (std::find(m_countWatchers.begin(), m_countWatchers.end(), receiver) != m_countWatchers.end())
            return;
        // Up to date first, so the new receiver starts from the number the others were last sent.
        Pump();
        if (PostMessage(receiver, UM_GAMEPAD_COUNT, static_cast<std::uintptr_t>(m_slots->Count())))
            m_countWatchers.push_back(receiver);
    });
}

void InputThread::RemovePadCountWatch(WindowHandle receiver)
{
    Invoke([this, receiver] { std::erase(m_countWatchers, receiver); });
}

void InputThread::AddStateWatch(WindowHandle receiver)
{
    Invoke([this, receiver] {
        const auto same = [receiver](const StateWatcher& watcher) { return watcher.receiver == receiver; };
        if (std::any_of(m_stateWatchers.begin(), m_stateWatchers.end(), same))
            return;
        Pump();
        if (!PostSummary(receiver))
            return;
        if (m_stateWatchers.empty()) {
            m_slots->WatchStates(true);
            m_nextFrame = std::chrono::steady_clock::now(); // the first states follow on this wake
        }
        m_stateWatchers.push_back({receiver, {}});
    });
}

void InputThread::RemoveStateWatch(WindowHandle receiver)
{
    Invoke([this, receiver] {
        std::erase_if(m_stateWatchers,
                      [receiver](const StateWatcher& watcher) { return watcher.receiver == receiver; });
        if (m_stateWatchers.empty())
            m_slots->WatchStates(false);
    });
}

void InputThread::Rumble(std::size_t slot, std::uint16_t low, std::uint16_t high,
                         std::chrono::milliseconds duration)
{
    Enqueue([this, slot, low, high, duration] {
        m_slots->Rumble(slot, low, high, duration, std::chrono::steady_clock::now());
    });
}

void InputThread::StopAllRumble()
{
    Enqueue([this] { m_slots->StopAllRumble(); });
}

void InputThread::Pump()
{
    if (!m_available)
        return;
    // Takes in hot-plug notices (udev or /dev/input) and the state of open pads, queueing device events.
    SDL_JoystickUpdate();
    bool devicesChanged = false;
    SDL_Event events[32];
    int got = 0;
    while ((got = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0)
        for (int i = 0; i < got; ++i)
            devicesChanged = IsDeviceEvent(events[i].type) || devicesChanged;
    if (devicesChanged)
        OnSlotsChanged(m_slots->Refresh());
}

void InputThread::OnSlotsChanged(unsigned changedSlots)
{
    const int count = m_slots->Count();
    if (count != m_postedCount) {
        m_postedCount = count;
        // A receiver that no longer exists stops being watched.
        std::erase_if(m_countWatchers, [count](WindowHandle receiver) {
            return !PostMessage(receiver, UM_GAMEPAD_COUNT, static_cast<std::uintptr_t>(count));
        });
    }
    if (changedSlots == 0)
        return;
    std::erase_if(m_stateWatchers, [this, changedSlots](StateWatcher& watcher) {
        // A pad new to a slot has its state posted afresh, even when it equals the last pad's.
        for (std::size_t slot = 0; slot < PadSlots::kSlots; ++slot)
            if (changedSlots & (1u << slot))
                watcher.posted[slot].reset();
        return !PostSummary(watcher.receiver);
    });
    if (m_stateWatchers.empty())
        m_slots->WatchStates(false);
}

bool InputThread::PostSummary(WindowHandle receiver)
{
    return PostMessage(receiver, WM_PAD_SUMMARY, static_cast<std::uintptr_t>(m_slots->Count()),
                       std::make_unique<PadSummary>(m_slots->Summary()));
}

void InputThread::PostStates()
{
    std::array<std::optional<PadState>, PadSlots::kSlots> states;
    for (std::size_t slot = 0; slot < PadSlots::kSlots; ++slot)
        states[slot] = m_slots->State(slot);
    std::erase_if(m_stateWatchers, [&states](StateWatcher& watcher) {
        for (std::size_t slot = 0; slot < PadSlots::kSlots; ++slot) {
            if (!states[slot] || watcher.posted[slot] == states[slot])
                continue;
            if (!PostMessage(watcher.receiver, WM_PAD_STATE, slot, std::make_unique<PadState>(*states[slot])))
                return true;
            watcher.posted[slot] = states[slot];
        }
        return false;
    });
    if (m_stateWatchers.empty())
        m_slots->WatchStates(false);
}

void InputThread::Wait(std::unique_lock<std::mutex>& guard)
{
    const auto woken = [this] { return m_stopping || m_devicesChanged || !m_commands.empty(); };
    // An idle thread sleeps without a timeout: only watched states and running rumbles need a clock.
    std::optional<std::chrono::steady_clock::time_point> deadline = m_rumbleEnd;
    if (!m_stateWatchers.empty())
        deadline = deadline ? std::min(*deadline, m_nextFrame) : m_nextFrame;
    if (deadline)
        m_wake.wait_until(guard, *deadline, woken);
    else
        m_wake.wait(guard, woken);
}

void InputThread::Run(std::promise<void> started)
{
    pthread_setname_np(pthread_self(), "ravelo-input");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(kSubsystems) == 0) {
        m_available = true;
    } else {
        m_initError = SDL_GetError();
        DebugOutput("input: SDL controller subsystems unavailable: " + m_initError);
    }
    m_slots = std::make_unique<PadSlots>();
    if (m_available) {
        // The pads already attached, without announcing them: watchers get the count when they register.
        SDL_JoystickUpdate();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        m_slots->Refresh();
        m_postedCount = m_slots->Count();
    }
    started.set_value();

    std::unique_lock guard(m_lock);
    for (;;) {
        bool pump = m_devicesChanged;
        m_devicesChanged = false;
        while (!m_commands.empty()) {
            std::function<void()> command = std::move(m_commands.front());
            m_commands.pop_front();
            guard.unlock();
            command();
            // A command may have attached or detached a pad or let SDL look for devices: its effect is
            // announced before the next command runs, so that one already sees it.
            Pump();
            guard.lock();
        }
        if (m_stopping)
            break;
        guard.unlock();

        const auto now = std::chrono::steady_clock::now();
        if (!m_stateWatchers.empty() && now >= m_nextFrame) {
            Pump();
            PostStates();
            // Keep the frame steady, but never catch up on frames missed while busy.
            m_nextFrame += kStateFrame;
            if (m_nextFrame <= now)
                m_nextFrame = now + kStateFrame;
        } else if (pump) {
            Pump();
        }
        m_rumbleEnd = m_slots->EndRumbleDue(std::chrono::steady_clock::now());

        guard.lock();
        if (!m_stopping && !m_devicesChanged && m_commands.empty())
            Wait(guard);
    }
    guard.unlock();

    m_countWatchers.clear();
    m_stateWatchers.clear();
    m_slots.reset(); // closes the pads (and stops their motors) while SDL still runs
    if (m_available)
        SDL_QuitSubSystem(kSubsystems);
}

} // namespace ravelo
