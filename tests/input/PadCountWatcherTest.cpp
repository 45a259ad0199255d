#include "ThreadActivity.h"
#include "VirtualPads.h"

#include "input/InputMessages.h"
#include "input/PadCountWatcher.h"
#include "platform/MessageQueue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace ravelo::test {
namespace {

using namespace std::chrono_literals;
using PadCountWatcherTest = VirtualPadsTest;

// The very next message must be a count of expected: a count posted without a change would come first.
void ExpectNextCount(MessageQueue& window, std::uintptr_t expected)
{
    std::optional<Message> message = window.Wait(10s);
    ASSERT_TRUE(message.has_value()) << "no count " << expected;
    EXPECT_EQ(message->id, 1144u);
    EXPECT_EQ(message->wParam, expected);
}

TEST_F(PadCountWatcherTest, ExactlyTheChangedCountsArePosted)
{
    MessageQueue window;
    std::optional<PadCountWatcher> watcher(std::in_place, *m_input, window.Handle());
    // The first count is there as soon as the watcher exists.
    std::optional<Message> first = window.Wait(0ms);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->id, UM_GAMEPAD_COUNT);
    EXPECT_EQ(first->wParam, 0u);

    ASSERT_GE(Attach("Pad A", 0x045E, 0x028E), 0) << SDL_GetError();
    ExpectNextCount(window, 1);
    // A wheel is no pad, and a fifth pad finds no slot: neither posts anything.
    ASSERT_GE(Attach("Wheel", 0x046D, 0xC29B, SDL_JOYSTICK_TYPE_WHEEL), 0) << SDL_GetError();
    for (std::uint16_t product = 0x0201; product <= 0x0204; ++product)
        ASSERT_GE(Attach("Pad", 0x045E, product), 0) << SDL_GetError();
    ExpectNextCount(window, 2);
    ExpectNextCount(window, 3);
    ExpectNextCount(window, 4);

    // Pull the first pad (a fifth takes its slot) and the wheel: still four. Then one pad after another.
    ASSERT_TRUE(Detach(0));
    ASSERT_TRUE(Detach(0));
    for (std::uintptr_t left = 3;; --left) {
        ASSERT_TRUE(Detach(0));
        ExpectNextCount(window, left);
        if (left == 0)
            break;
    }
    EXPECT_FALSE(window.Wait(300ms).has_value()) << "nothing but changes";

    // Once the watcher is gone nothing more arrives.
    watcher.reset();
    ASSERT_GE(Attach("Pad", 0x045E, 0x028E), 0) << SDL_GetError();
    EXPECT_FALSE(window.Wait(300ms).has_value());
}

TEST_F(PadCountWatcherTest, AnIdleInputThreadDoesNotWakeUp)
{
    MessageQueue window;
    PadCountWatcher watcher(*m_input, window.Handle());
    ASSERT_TRUE(window.Wait(0ms).has_value());
    ASSERT_GE(Attach("Pad", 0x045E, 0x028E), 0) << SDL_GetError();
    ExpectNextCount(window, 1);

    // Give both threads time to go back to sleep, then watch them do nothing.
    EXPECT_FALSE(window.Wait(200ms).has_value());
    const long input = ContextSwitches("ravelo-input");
    const long devices = ContextSwitches("ravelo-devices");
    ASSERT_GE(input, 0);
    ASSERT_GE(devices, 0);
    EXPECT_FALSE(window.Wait(500ms).has_value());
    EXPECT_EQ(ContextSwitches("ravelo-input"), input) << "the input thread woke up with nothing to do";
    EXPECT_EQ(ContextSwitches("ravelo-devices"), devices);
}

TEST_F(PadCountWatcherTest, AReceiverThatIsGoneStopsBeingWatched)
{
    MessageQueue window;
    std::optional<PadCountWatcher> closed;
    {
        MessageQueue shortLived;
        closed.emplace(*m_input, shortLived.Handle());
        ASSERT_TRUE(shortLived.WaitFor(UM_GAMEPAD_COUNT, 0ms).has_value());
    }
    // The watch on the vanished receiver must not disturb one on a living receiver.
    PadCountWatcher watcher(*m_input, window.Handle());
    ASSERT_TRUE(window.Wait(0ms).has_value());
    ASSERT_GE(Attach("Pad", 0x045E, 0x028E), 0) << SDL_GetError();
    ExpectNextCount(window, 1);
    closed.reset();
}

} // namespace
} // namespace ravelo::test
