#include "input/PadSlots.h"

#include "input/ControllerEnumeration.h"
#include "input/XInputState.h"

#include <algorithm>
#include <vector>

namespace ravelo {

namespace {

int DeviceIndexOf(SDL_JoystickID instance)
{
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index)
        if (SDL_JoystickGetDeviceInstanceID(index) == instance)
            return index;
    return -1;
}

} // namespace

PadSlots::~PadSlots()
{
    for (const auto& [instance, pad] : m_open)
        SDL_GameControllerClose(pad);
}

unsigned PadSlots::Refresh()
{
    const std::vector<int> devices = UserSlotDevices();
    unsigned changed = 0;
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        const SDL_JoystickID instance =
            slot < devices.size() ? SDL_JoystickGetDeviceInstanceID(devices[slot]) : SDL_JoystickID(-1);
        if (instance != m_slots[slot]) {
            m_slots[slot] = instance;
            changed |= 1u << slot;
        }
    }
    if (changed != 0)
        CloseUnneeded();
    if (m_statesWatched)
        WatchStates(true);
    return changed;
}

int PadSlots::Count() const
{
    return static_cast<int>(
        std::count_if(m_slots.begin(), m_slots.end(), [](SDL_JoystickID id) { return id >= 0; }));
}

PadSummary PadSlots::Summary() const
{
    PadSummary summary;
    for (std::size_t slot = 0; slot < kSlots; ++slot)
        summary.connected[slot] = m_slots[slot] >= 0 ? 1 : 0;
    return summary;
}

void PadSlots::WatchStates(bool watched)
{
    m_statesWatched = watched;
    if (watched) {
        for (const SDL_JoystickID instance : m_slots)
            if (instance >= 0)
                Open(instance);
    } else {
        CloseUnneeded();
    }
}

std::optional<PadState> PadSlots::State(std::size_t slot) const
{
    if (slot >= kSlots || m_slots[slot] < 0)
        return std::nullopt;
    const auto open = m_open.find(m_slots[slot]);
    if (open == m_open.end())
        return std::nullopt;
    return ReadPadState(open->second);
}

void PadSlots::Rumble(std::size_t slot, std::uint16_t low, std::uint16_t high,
                      std::chrono::milliseconds duration, Clock::time_point now)
{
    if (slot >= kSlots || m_slots[slot] < 0)
        return;
    const SDL_JoystickID instance = m_slots[slot];
    duration = std::clamp(duration, std::chrono::milliseconds::zero(), kMaxRumble);
    if ((low == 0 && high == 0) || duration == std::chrono::milliseconds::zero()) {
        if (const auto open = m_open.find(instance); open != m_open.end())
            SDL_GameControllerRumble(open->second, 0, 0, 0);
        m_rumbleEnds.erase(instance);
        CloseUnneeded();
        return;
    }
    SDL_GameController* pad = Open(instance);
    if (!pad)
        return;
    // SDL stops the motors itself once the time is up, but only while it is pumped: the end is kept
    // here too, so the input thread wakes for it.
    if (SDL_GameControllerRumble(pad, low, high, static_cast<Uint32>(duration.count())) == 0) {
        m_rumbleEnds[instance] = now + duration;
    } else {
        m_rumbleEnds.erase(instance);
        CloseUnneeded();
    }
}

void PadSlots::StopAllRumble()
{
    for (const auto& [instance, end] : m_rumbleEnds)
        if (const auto open = m_open.find(instance); open != m_open.end())
            SDL_GameControllerRumble(open->second, 0, 0, 0);
    m_rumbleEnds.clear();
    CloseUnneeded();
}

std::optional<PadSlots::Clock::time_point> PadSlots::EndRumbleDue(Clock::time_point now)
{
    bool ended = false;
    for (auto it = m_rumbleEnds.begin(); it != m_rumbleEnds.end();) {
        if (it->second > now) {
            ++it;
            continue;
        }
        if (const auto open = m_open.find(it->first); open != m_open.end())
            SDL_GameControllerRumble(open->second, 0, 0, 0);
        it = m_rumbleEnds.erase(it);
        ended = true;
    }
    if (ended)
        CloseUnneeded();
    std::optional<Clock::time_point> next;
    for (const auto& [instance, end] : m_rumbleEnds)
        if (!next || end < *next)
            next = end;
    return next;
}

SDL_GameController* PadSlots::Open(SDL_JoystickID instance)
{
    if (const auto open = m_open.find(instance); open != m_open.end())
        return open->second;
    const int index = DeviceIndexOf(instance);
    SDL_GameController* pad = index >= 0 ? SDL_GameControllerOpen(index) : nullptr;
    if (pad)
        m_open.emplace(instance, pad);
    return pad;
}

void PadSlots::CloseUnneeded()
{
    for (auto it = m_open.begin(); it != m_open.end();) {
        const SDL_JoystickID instance = it->first;
        const bool inSlot = std::find(m_slots.begin(), m_slots.end(), instance) != m_slots.end();
        const bool needed = inSlot && (m_statesWatched || m_rumbleEnds.contains(instance));
        if (needed) {
            ++it;
            continue;
        }
        // Closing also stops a rumble still running on it.
        SDL_GameControllerClose(it->second);
        m_rumbleEnds.erase(instance);
        it = m_open.erase(it);
    }
}

} // namespace ravelo
