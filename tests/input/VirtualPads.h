#pragma once

#include "input/InputThread.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace ravelo::test {

/// Starts the input thread with no video and attaches SDL virtual joysticks on it, so no hardware is
/// needed. Skips when the machine has real controllers that would change every count.
class VirtualPadsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        m_input = std::make_unique<InputThread>();
        ASSERT_TRUE(m_input->Available()) << m_input->InitError();
        const int present = m_input->Invoke([] { return SDL_NumJoysticks(); });
        if (present != 0)
            GTEST_SKIP() << present << " real joystick(s) attached; these tests need none";
    }

    void TearDown() override { m_input.reset(); }

    /// Called on the input thread with the motor speeds SDL sets on a virtual pad.
    using RumbleCallback = int (*)(void* userdata, Uint16 low, Uint16 high);

    /// Attaches a virtual joystick on the input thread and returns its device index (or -1). A pad
    /// given a rumble callback has motors.
    int Attach(const std::string& name, std::uint16_t vendor, std::uint16_t product,
               SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER, RumbleCallback rumble = nullptr,
               void* userdata = nullptr)
    {
        return m_input->Invoke([&] {
            SDL_VirtualJoystickDesc desc{};
            desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
            desc.type = static_cast<Uint16>(type);
            desc.naxes = SDL_CONTROLLER_AXIS_MAX;
            desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
            desc.vendor_id = vendor;
            desc.product_id = product;
            desc.name = name.c_str();
            desc.Rumble = rumble;
            desc.userdata = userdata;
            return SDL_JoystickAttachVirtualEx(&desc);
        });
    }

    /// Opens the joystick at a device index on the input thread, to move its virtual buttons and axes
    /// (SDL closes it when the input thread shuts SDL down).
    SDL_Joystick* Open(int deviceIndex)
    {
        return m_input->Invoke([deviceIndex] { return SDL_JoystickOpen(deviceIndex); });
    }

    bool Detach(int deviceIndex)
    {
        return m_input->Invoke([deviceIndex] { return SDL_JoystickDetachVirtual(deviceIndex) == 0; });
    }

    std::unique_ptr<InputThread> m_input;
};

} // namespace ravelo::test
