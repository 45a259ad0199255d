#pragma once

#include "input/PadState.h"

#include <SDL.h>

#include <cstdint>

namespace ravelo {

/// Any thread. A trigger as XInput reports it: SDL's 0 to 32767 scaled to 0 to 255, rounded to the
/// nearest step, so a pad that SDL reads through XInput gives back its own byte; below 0 reads as 0.
std::uint8_t TriggerByte(Sint16 sdlTrigger);

/// Any thread. A stick's Y axis as XInput reports it: SDL counts downwards, XInput upwards. SDL's
/// -32768 (fully up) becomes 32767, the most XInput can hold.
std::int16_t UpwardAxis(Sint16 sdlAxis);

/// Input thread only. The open controller's state in XInput's terms, as of SDL's last update.
PadState ReadPadState(SDL_GameController* pad);

} // namespace ravelo
