#include "input/ControllerEnumeration.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace ravelo {

namespace {

constexpr std::size_t kUserSlots = 4;

// SDL gives identical pads the same GUID. Emulators tell pads apart by identity, so the last byte
// becomes the pad's ordinal among the attached joysticks of the same GUID, counted in the order they
// were attached (SDL's instance ids grow with each attach): 0 for the first, and unchanged for as long
// as the pads before it stay attached.
std::uint8_t SameKindOrdinal(int deviceIndex, int count)
{
    const SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(deviceIndex);
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    unsigned ordinal = 0;
    for (int other = 0; other < count; ++other) {
        if (other == deviceIndex)
            continue;
        const SDL_JoystickGUID otherGuid = SDL_JoystickGetDeviceGUID(other);
        if (std::memcmp(otherGuid.data, guid.data, sizeof guid.data) == 0 &&
            SDL_JoystickGetDeviceInstanceID(other) < instance)
            ++ordinal;
    }
    return static_cast<std::uint8_t>(ordinal);
}

ControllerRecord ReadRecord(int deviceIndex, int count)
{
    ControllerRecord record;
    const SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(deviceIndex);
    static_assert(sizeof guid.data == sizeof record.instanceGuid);
    std::memcpy(record.instanceGuid.data(), guid.data, sizeof guid.data);
    record.instanceGuid.back() = SameKindOrdinal(deviceIndex, count);
    record.vendor = SDL_JoystickGetDeviceVendor(deviceIndex);
    record.product = SDL_JoystickGetDeviceProduct(deviceIndex);
    record.playerIndex = SDL_JoystickGetDevicePlayerIndex(deviceIndex);
    record.isGameController = IsXInputDevice(deviceIndex);
    if (const char* name = SDL_JoystickNameForIndex(deviceIndex))
        record.name = name;
    return record;
}

} // namespace

bool IsXInputDevice(int deviceIndex)
{
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0)
        return false;
    if (deviceIndex < 0 || deviceIndex >= SDL_NumJoysticks())
        return false;
    return SDL_IsGameController(deviceIndex) == SDL_TRUE;
}

ControllerList EnumerateControllers(bool xinputOnly)
{
    ControllerList controllers;
    if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0)
        return controllers;
    // Bring SDL's device list up to date with what was plugged or pulled since the last look.
    SDL_JoystickUpdate();
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        ControllerRecord record = ReadRecord(index, count);
        if (xinputOnly && !record.isGameController)
            continue;
        controllers.push_back(std::move(record));
    }
    return controllers;
}

std::vector<int> UserSlotDevices()
{
    std::vector<std::pair<int, int>> pads; // (player index, device index)
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0)
        return {};
    SDL_JoystickUpdate();
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        if (IsXInputDevice(index))
            pads.emplace_back(SDL_JoystickGetDevicePlayerIndex(index), index);
    }
    std::stable_sort(pads.begin(), pads.end(), [](const auto& left, const auto& right) {
        const bool leftHas = left.first >= 0;
        const bool rightHas = right.first >= 0;
        if (leftHas != rightHas)
            return leftHas;
        return leftHas && left.first < right.first;
    });
    std::vector<int> slots;
    for (std::size_t i = 0; i < pads.size() && i < kUserSlots; ++i)
        slots.push_back(pads[i].second);
    return slots;
}

int ConnectedPadCount()
{
    return static_cast<int>(UserSlotDevices().size());
}

} // namespace ravelo
