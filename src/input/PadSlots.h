#pragma once

#include "input/PadState.h"
#include "input/PadSummary.h"

#include <SDL.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>

namespace ravelo {

/// The four user slots and the controllers opened for them, owned by the input thread: which pad sits
/// in which slot, their states while someone watches them, and rumble with a bounded duration. A
/// controller is open only while its state is watched or it rumbles, so pads are otherwise left alone.
/// Input thread only, like all of SDL's joystick calls.
class PadSlots
{
public:
    static constexpr std::size_t kSlots = 4;
    /// The longest a single rumble request lasts; the caller repeats a request to keep a pad going.
    static constexpr std::chrono::milliseconds kMaxRumble{1000};
    using Clock = std::chrono::steady_clock;

    PadSlots() = default;
    /// Closes what is still open (rumble stops with it).
    ~PadSlots();
    PadSlots(const PadSlots&) = delete;
    PadSlots& operator=(const PadSlots&) = delete;

    /// Reads which pads sit in the slots now; returns a bit per slot whose pad changed (0 when none).
    /// Controllers of pads that left the slots are closed.
    unsigned Refresh();
    /// Pads in the slots (0 to 4).
    int Count() const;
    PadSummary Summary() const;

    /// Opens the slot pads' controllers while states are watched; without watching, only rumbling
    /// pads stay open.
    void WatchStates(bool watched);
    /// The slot's state as of SDL's last update; none for an empty slot or one that could not be opened.
    std::optional<PadState> State(std::size_t slot) const;

    /// Sets the slot pad's motors for at most kMaxRumble (zero speeds or duration stop them); an empty
    /// slot or a pad without motors ignores it.
    void Rumble(std::size_t slot, std::uint16_t low, std::uint16_t high, std::chrono::milliseconds duration,
                Clock::time_point now);
    void StopAllRumble();
    /// Stops the rumbles whose time is up; returns when the next one ends, if any still runs.
    std::optional<Clock::time_point> EndRumbleDue(Clock::time_point now);

private:
    SDL_GameController* Open(SDL_JoystickID instance);
    void CloseUnneeded();

    std::array<SDL_JoystickID, kSlots> m_slots{-1, -1, -1, -1};
    std::map<SDL_JoystickID, SDL_GameController*> m_open;
    std::map<SDL_JoystickID, Clock::time_point> m_rumbleEnds;
    bool m_statesWatched = false;
};

} // namespace ravelo
