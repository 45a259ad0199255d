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

    /// Attaches a virtual joystick on the input thread and returns its device index (or -1).
    int Attach(const std::string& name, std::uint16_t vendor, std::uint16_t product,
               SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER)
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
            return SDL_JoystickAttachVirtualEx(&desc);
        });
    }

    bool Detach(int deviceIndex)
    {
        return m_input->Invoke([deviceIndex] { return SDL_JoystickDetachVirtual(deviceIndex) == 0; });
    }

    std::unique_ptr<InputThread> m_input;
};

} // namespace ravelo::test
