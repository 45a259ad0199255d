#include "input/XInputState.h"

#include <algorithm>
#include <utility>

namespace ravelo {

namespace {

constexpr std::pair<SDL_GameControllerButton, std::uint16_t> kButtons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadState::kDpadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadState::kDpadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadState::kDpadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadState::kDpadRight},
    {SDL_CONTROLLER_BUTTON_START, PadState::kStart},
    {SDL_CONTROLLER_BUTTON_BACK, PadState::kBack},
    {SDL_CONTROLLER_BUTTON_LEFTSTICK, PadState::kLeftThumb},
    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, PadState::kRightThumb},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PadState::kLeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PadState::kRightShoulder},
    {SDL_CONTROLLER_BUTTON_A, PadState::kA},
    {SDL_CONTROLLER_BUTTON_B, PadState::kB},
    {SDL_CONTROLLER_BUTTON_X, PadState::kX},
    {SDL_CONTROLLER_BUTTON_Y, PadState::kY},
};

} // namespace

std::uint8_t TriggerByte(Sint16 sdlTrigger)
{
    if (sdlTrigger <= 0)
        return 0;
    return static_cast<std::uint8_t>((sdlTrigger * 255 + SDL_JOYSTICK_AXIS_MAX / 2) / SDL_JOYSTICK_AXIS_MAX);
}

std::int16_t UpwardAxis(Sint16 sdlAxis)
{
    return static_cast<std::int16_t>(
        std::min(-static_cast<int>(sdlAxis), static_cast<int>(SDL_JOYSTICK_AXIS_MAX)));
}

PadState ReadPadState(SDL_GameController* pad)
{
    PadState state;
    for (const auto& [button, bit] : kButtons)
        if (SDL_GameControllerGetButton(pad, button))
            state.buttons |= bit;
    state.leftTrigger = TriggerByte(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
    state.rightTrigger = TriggerByte(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    state.thumbLX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    state.thumbLY = UpwardAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
    state.thumbRX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX);
    state.thumbRY = UpwardAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY));
    return state;
}

} // namespace ravelo
