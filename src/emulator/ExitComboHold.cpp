#include "emulator/ExitComboHold.h"

namespace ravelo {

void ExitComboHold::Update(std::size_t slot, const PadState& state, Clock::time_point now)
{
    if (slot >= kSlots)
        return;
    Slot& pad = m_slots[slot];
    if ((state.buttons & kButtons) != kButtons) {
        pad = {};
        return;
    }
    if (!pad.since)
        pad.since = now;
}

void ExitComboHold::Reset()
{
    m_slots = {};
}

std::optional<ExitComboHold::Clock::time_point> ExitComboHold::Due() const
{
    std::optional<Clock::time_point> due;
    for (const Slot& pad : m_slots)
        if (pad.since && !pad.fired && (!due || *pad.since + m_hold < *due))
            due = *pad.since + m_hold;
    return due;
}

bool ExitComboHold::Fire(Clock::time_point now)
{
    for (Slot& pad : m_slots)
        if (pad.since && !pad.fired && now >= *pad.since + m_hold) {
            pad.fired = true;
            return true;
        }
    return false;
}

} // namespace ravelo
