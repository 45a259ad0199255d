#pragma once

#include "input/PadState.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>

namespace ravelo {

/// Which pads hold Start and Back together, and since when: the pad's way to leave a game. The combo
/// completes once one pad has held both for the hold time without letting go; it then stays
/// completed (fires once) until that pad lets go. Pure: no clock or lock of its own; the caller
/// passes the time and serialises calls.
class ExitComboHold
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kSlots = 4;
    static constexpr std::uint16_t kButtons = PadState::kStart | PadState::kBack;

    explicit ExitComboHold(Clock::duration hold) : m_hold(hold) {}

    /// A slot's new state at now. Slots outside 0 to 3 are ignored.
    void Update(std::size_t slot, const PadState& state, Clock::time_point now);
    /// Pads came or went: every hold starts again from the states that follow.
    void Reset();

    /// When the combo completes unless a pad lets go first; none while no pad holds it (or the pad
    /// that completed it still holds it).
    std::optional<Clock::time_point> Due() const;
    /// Whether the combo is complete at now; if so it is marked fired and answers false until the
    /// pad that completed it lets go.
    bool Fire(Clock::time_point now);

private:
    struct Slot
    {
        std::optional<Clock::time_point> since; // holding both since then
        bool fired = false;
    };

    Clock::duration m_hold;
    std::array<Slot, kSlots> m_slots{};
};

} // namespace ravelo
