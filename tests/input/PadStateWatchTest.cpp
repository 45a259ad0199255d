#include "ThreadActivity.h"
#include "VirtualPads.h"

#include "input/InputMessages.h"
#include "input/XInputState.h"
#include "platform/MessageQueue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace ravelo::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using PadStateWatchTest = VirtualPadsTest;
using PadRumbleTest = VirtualPadsTest;

TEST(XInputState, TriggersAndUpwardSticksReadTheWayXInputReportsThem)
{
    EXPECT_EQ(TriggerByte(0), 0);
    EXPECT_EQ(TriggerByte(32767), 255);
    EXPECT_EQ(TriggerByte(-1), 0);
    EXPECT_EQ(TriggerByte(-32768), 0);
    // Each XInput step t reaches SDL as t * 32767 / 255; it comes back as t, the threshold 100 included.
    for (int step = 0; step <= 255; ++step)
        EXPECT_EQ(TriggerByte(static_cast<Sint16>(step * 32767 / 255)), step) << step;
    EXPECT_EQ(TriggerByte(64), 0); // under half a step
    EXPECT_EQ(TriggerByte(65), 1);

    EXPECT_EQ(UpwardAxis(0), 0);
    EXPECT_EQ(UpwardAxis(-32768), 32767); // fully up
    EXPECT_EQ(UpwardAxis(32767), -32767); // fully down
    EXPECT_EQ(UpwardAxis(-9000), 9000);
}

std::optional<Message> Next(MessageQueue& window)
{
    return window.Wait(10s);
}

void ExpectSummary(MessageQueue& window, std::uintptr_t count, PadSummary expected)
{
    std::optional<Message> message = Next(window);
    ASSERT_TRUE(message.has_value());
    ASSERT_EQ(message->id, WM_PAD_SUMMARY);
    EXPECT_EQ(message->id, 1155u);
    EXPECT_EQ(message->wParam, count);
    std::unique_ptr<PadSummary> summary = message->TakePayload<PadSummary>();
    ASSERT_TRUE(summary);
    EXPECT_EQ(*summary, expected);
}

PadState ExpectState(MessageQueue& window, std::uintptr_t slot)
{
    std::optional<Message> message = Next(window);
    EXPECT_TRUE(message.has_value());
    if (!message)
        return {};
    EXPECT_EQ(message->id, WM_PAD_STATE);
    EXPECT_EQ(message->id, 1147u);
    EXPECT_EQ(message->wParam, slot);
    std::unique_ptr<PadState> state = message->TakePayload<PadState>();
    EXPECT_TRUE(state);
    return state ? *state : PadState{};
}

TEST_F(PadStateWatchTest, StatesArePostedWhenTheyChangeAndSummariesWhenPadsComeOrGo)
{
    const int first = Attach("Pad A", 0x045E, 0x028E);
    ASSERT_GE(first, 0) << SDL_GetError();
    SDL_Joystick* padA = Open(first);
    ASSERT_TRUE(padA) << SDL_GetError();

    MessageQueue window;
    m_input->AddStateWatch(window.Handle());
    ExpectSummary(window, 1, {{1, 0, 0, 0}});
    EXPECT_EQ(ExpectState(window, 0), PadState{});

    // Changes made between two frames arrive as one state.
    m_input->Invoke([padA] {
        SDL_JoystickSetVirtualButton(padA, SDL_CONTROLLER_BUTTON_A, 1);
        SDL_JoystickSetVirtualButton(padA, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
        SDL_JoystickSetVirtualAxis(padA, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
        SDL_JoystickSetVirtualAxis(padA, SDL_CONTROLLER_AXIS_LEFTY, -32768);
        SDL_JoystickSetVirtualAxis(padA, SDL_CONTROLLER_AXIS_RIGHTX, 12345);
    });
    PadState pressed;
    pressed.buttons = PadState::kA | PadState::kDpadLeft;
    pressed.leftTrigger = 255;
    pressed.thumbLY = 32767;
    pressed.thumbRX = 12345;
    EXPECT_EQ(ExpectState(window, 0), pressed);
    EXPECT_FALSE(window.Wait(200ms).has_value()) << "an unchanged pad posts nothing";

    // A second watcher gets the summary and the current state, whatever the first was sent.
    MessageQueue second;
    m_input->AddStateWatch(second.Handle());
    ExpectSummary(second, 1, {{1, 0, 0, 0}});
    EXPECT_EQ(ExpectState(second, 0), pressed);
    m_input->RemoveStateWatch(second.Handle());

    // A second pad: a summary, then its state in slot 1.
    ASSERT_GE(Attach("Pad B", 0x054C, 0x05C4), 0) << SDL_GetError();
    ExpectSummary(window, 2, {{1, 1, 0, 0}});
    EXPECT_EQ(ExpectState(window, 1), PadState{});

    // Pulling the first moves the second into slot 0; its state is posted there afresh.
    ASSERT_TRUE(Detach(first));
    ExpectSummary(window, 1, {{1, 0, 0, 0}});
    EXPECT_EQ(ExpectState(window, 0), PadState{});

    // Without watchers nothing more is posted, and the frame stops: the thread goes back to sleep.
    m_input->RemoveStateWatch(window.Handle());
    SDL_Joystick* padB = Open(0);
    ASSERT_TRUE(padB);
    m_input->Invoke([padB] { SDL_JoystickSetVirtualButton(padB, SDL_CONTROLLER_BUTTON_B, 1); });
    EXPECT_FALSE(window.Wait(200ms).has_value());
    const long switches = ContextSwitches("ravelo-input");
    EXPECT_FALSE(window.Wait(300ms).has_value());
    EXPECT_EQ(ContextSwitches("ravelo-input"), switches);
    EXPECT_FALSE(second.Wait(0ms).has_value());
}

TEST_F(PadRumbleTest, RumbleIsBoundedStoppedAndLeavesNoPadOpen)
{
    RumbleLog log;
    const int device =
        Attach("Pad", 0x045E, 0x028E, SDL_JOYSTICK_TYPE_GAMECONTROLLER, &RumbleLog::Record, &log);
    ASSERT_GE(device, 0) << SDL_GetError();
    using Speeds = RumbleLog::Speeds;

    // A short rumble ends by itself, although nobody watches the pad and the thread is otherwise idle.
    m_input->Rumble(3, 9, 9, 100ms); // an empty slot: ignored
    m_input->Rumble(0, 0x1234, 0xABCD, 100ms);
    EXPECT_EQ(log.At(0), Speeds(0x1234, 0xABCD));
    EXPECT_EQ(log.At(1), Speeds(0, 0));

    // However long it is asked for, a rumble lasts a second at most.
    const auto asked = Clock::now();
    m_input->Rumble(0, 1, 2, std::chrono::hours(1));
    EXPECT_EQ(log.At(2), Speeds(1, 2));
    Clock::time_point stopped;
    EXPECT_EQ(log.At(3, &stopped), Speeds(0, 0));
    EXPECT_GE(stopped - asked, 900ms);
    EXPECT_LT(stopped - asked, 5s);

    // StopAllRumble stops it at once.
    m_input->Rumble(0, 5, 6, 1s);
    Clock::time_point started;
    EXPECT_EQ(log.At(4, &started), Speeds(5, 6));
    m_input->StopAllRumble();
    EXPECT_EQ(log.At(5, &stopped), Speeds(0, 0));
    EXPECT_LT(stopped - started, 800ms);

    // Once the motors are still, the pad is closed again.
    const auto instance = m_input->Invoke([device] { return SDL_JoystickGetDeviceInstanceID(device); });
    EXPECT_EQ(m_input->Invoke([instance] { return SDL_JoystickFromInstanceID(instance); }), nullptr);
}

} // namespace
} // namespace ravelo::test
