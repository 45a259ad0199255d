#pragma once

#include "input/InputThread.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ravelo::test {

/// Called on the input thread with the motor speeds SDL sets on a virtual pad.
using RumbleCallback = int (*)(void* userdata, Uint16 low, Uint16 high);

/// Attaches a virtual joystick on the input thread and returns its device index (or -1). A pad given
/// a rumble callback has motors.
inline int AttachVirtualPad(InputThread& input, const std::string& name, std::uint16_t vendor,
                            std::uint16_t product, SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                            RumbleCallback rumble = nullptr, void* userdata = nullptr)
{
    return input.Invoke([&] {
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
inline SDL_Joystick* OpenVirtualPad(InputThread& input, int deviceIndex)
{
    return input.Invoke([deviceIndex] { return SDL_JoystickOpen(deviceIndex); });
}

/// Presses (or releases) a button of an opened virtual pad, on the input thread.
inline void SetVirtualButton(InputThread& input, SDL_Joystick* pad, SDL_GameControllerButton button,
                             bool down)
{
    input.Invoke([=] { SDL_JoystickSetVirtualButton(pad, button, down ? 1 : 0); });
}

/// Moves an axis of an opened virtual pad, on the input thread (SDL's range: sticks -32768 to 32767
/// with Y downwards, triggers 0 to 32767).
inline void SetVirtualAxis(InputThread& input, SDL_Joystick* pad, SDL_GameControllerAxis axis, Sint16 value)
{
    input.Invoke([=] { SDL_JoystickSetVirtualAxis(pad, axis, value); });
}

/// Real joysticks on this machine; the pad tests need none, since they would change every count.
inline int RealJoysticks(InputThread& input)
{
    return input.Invoke([] { return SDL_NumJoysticks(); });
}

/// What the input thread set on a virtual pad's motors, in order: give Record and the log to
/// AttachVirtualPad as the rumble callback and its user data.
struct RumbleLog
{
    using Clock = std::chrono::steady_clock;
    using Speeds = std::pair<Uint16, Uint16>;

    std::mutex lock;
    std::condition_variable changed;
    std::vector<Speeds> speeds;
    std::vector<Clock::time_point> times;

    static int Record(void* userdata, Uint16 low, Uint16 high)
    {
        auto* log = static_cast<RumbleLog*>(userdata);
        {
            std::lock_guard guard(log->lock);
            log->speeds.emplace_back(low, high);
            log->times.push_back(Clock::now());
        }
        log->changed.notify_all();
        return 0;
    }

    /// Waits for the setting at index; none when it does not come in time.
    std::optional<Speeds> At(std::size_t index, Clock::time_point* when = nullptr)
    {
        std::unique_lock guard(lock);
        if (!changed.wait_for(guard, std::chrono::seconds(10), [&] { return speeds.size() > index; }))
            return std::nullopt;
        if (when)
            *when = times[index];
        return speeds[index];
    }

    std::size_t Count()
    {
        std::lock_guard guard(lock);
        return speeds.size();
    }
};

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
        const int present = RealJoysticks(*m_input);
        if (present != 0)
            GTEST_SKIP() << present << " real joystick(s) attached; these tests need none";
    }

    void TearDown() override { m_input.reset(); }

    int Attach(const std::string& name, std::uint16_t vendor, std::uint16_t product,
               SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER, RumbleCallback rumble = nullptr,
               void* userdata = nullptr)
    {
        return AttachVirtualPad(*m_input, name, vendor, product, type, rumble, userdata);
    }

    SDL_Joystick* Open(int deviceIndex) { return OpenVirtualPad(*m_input, deviceIndex); }

    bool Detach(int deviceIndex)
    {
        return m_input->Invoke([deviceIndex] { return SDL_JoystickDetachVirtual(deviceIndex) == 0; });
    }

    std::unique_ptr<InputThread> m_input;
};

} // namespace ravelo::test
