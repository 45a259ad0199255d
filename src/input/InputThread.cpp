#include "input/InputThread.h"

#include "input/ControllerEnumeration.h"
#include "input/InputMessages.h"
#include "platform/DebugOutput.h"

#include <SDL.h>

#include <algorithm>

namespace ravelo {

namespace {

constexpr Uint32 kSubsystems = SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK;

} // namespace

InputThread::InputThread()
{
    std::promise<void> started;
    std::future<void> ready = started.get_future();
    m_thread = std::thread([this, promise = std::move(started)]() mutable { Run(std::move(promise)); });
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
        if (std::find(m_watchers.begin(), m_watchers.end(), receiver) != m_watchers.end())
            return;
        // The first count goes out at once, so a new window never shows a stale number for a period.
        if (!PostMessage(receiver, UM_GAMEPAD_COUNT,
                         static_cast<std::uintptr_t>(ravelo::ConnectedPadCount())))
            return;
        if (m_watchers.empty())
            m_nextTick = std::chrono::steady_clock::now() + kWatchPeriod;
        m_watchers.push_back(receiver);
    });
}

void InputThread::RemovePadCountWatch(WindowHandle receiver)
{
    Invoke([this, receiver] { std::erase(m_watchers, receiver); });
}

void InputThread::PostPadCounts()
{
    if (m_watchers.empty())
        return;
    const auto count = static_cast<std::uintptr_t>(ravelo::ConnectedPadCount());
    // A receiver that no longer exists stops being watched instead of costing a post every period.
    std::erase_if(m_watchers,
                  [count](WindowHandle receiver) { return !PostMessage(receiver, UM_GAMEPAD_COUNT, count); });
}

void InputThread::Run(std::promise<void> started)
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(kSubsystems) == 0) {
        m_available = true;
    } else {
        m_initError = SDL_GetError();
        DebugOutput("input: SDL controller subsystems unavailable: " + m_initError);
    }
    started.set_value();

    std::unique_lock guard(m_lock);
    for (;;) {
        while (!m_commands.empty()) {
            std::function<void()> command = std::move(m_commands.front());
            m_commands.pop_front();
            guard.unlock();
            command();
            guard.lock();
        }
        if (m_stopping)
            break;

        if (!m_watchers.empty() && std::chrono::steady_clock::now() >= m_nextTick) {
            guard.unlock();
            PostPadCounts();
            guard.lock();
            // Keep the period steady, but never try to catch up on ticks missed while busy.
            const auto now = std::chrono::steady_clock::now();
            m_nextTick = std::max(m_nextTick + kWatchPeriod, now);
            continue;
        }
        if (m_available) {
            // We never read SDL's events; drop the device notices the joystick updates queue up.
            SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        }
        if (m_watchers.empty()) {
            m_wake.wait(guard, [this] { return m_stopping || !m_commands.empty(); });
        } else {
            m_wake.wait_until(guard, m_nextTick, [this] { return m_stopping || !m_commands.empty(); });
        }
    }
    guard.unlock();

    m_watchers.clear();
    if (m_available)
        SDL_QuitSubSystem(kSubsystems);
}

} // namespace ravelo
