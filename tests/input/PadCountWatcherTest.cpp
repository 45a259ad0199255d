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

// Waits for a count message carrying expected; earlier counts are skipped. Generous: a failure guard only.
bool WaitForCount(MessageQueue& queue, std::uintptr_t expected)
{
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        std::optional<Message> message = queue.WaitFor(UM_GAMEPAD_COUNT, left);
        if (message && message->wParam == expected)
            return true;
    }
    return false;
}

TEST_F(PadCountWatcherTest, TheCountFollowsPadsPluggedAndPulled)
{
    MessageQueue window;
    {
        PadCountWatcher watcher(*m_input, window.Handle());
        // The first count is there as soon as the watcher exists.
        std::optional<Message> first = window.WaitFor(UM_GAMEPAD_COUNT, 0ms);
        ASSERT_TRUE(first.has_value());
        EXPECT_EQ(first->wParam, 0u);
        EXPECT_EQ(first->id, 1144u);

        const int a = Attach("Pad A", 0x045E, 0x028E);
        ASSERT_GE(a, 0) << SDL_GetError();
        EXPECT_TRUE(WaitForCount(window, 1));
        ASSERT_GE(Attach("Pad B", 0x045E, 0x02FF), 0) << SDL_GetError();
        ASSERT_GE(Attach("Wheel", 0x046D, 0xC29B, SDL_JOYSTICK_TYPE_WHEEL), 0) << SDL_GetError();
        EXPECT_TRUE(WaitForCount(window, 2));

        // Counts keep coming while nothing changes, about every 100 ms.
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 3; ++i) {
            std::optional<Message> again = window.WaitFor(UM_GAMEPAD_COUNT, 5s);
            ASSERT_TRUE(again.has_value());
            EXPECT_EQ(again->wParam, 2u);
        }
        EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms) << "counts come in periods, not a stream";

        while (m_input->Invoke([] { return SDL_NumJoysticks(); }) > 0)
            ASSERT_TRUE(Detach(0));
        EXPECT_TRUE(WaitForCount(window, 0));
    }
    // Once the watcher is gone nothing more arrives.
    while (window.Wait(0ms)) {
    }
    EXPECT_FALSE(window.WaitFor(UM_GAMEPAD_COUNT, 300ms).has_value());
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
    ASSERT_GE(Attach("Pad", 0x045E, 0x028E), 0) << SDL_GetError();
    EXPECT_TRUE(WaitForCount(window, 1));
    closed.reset();
}

} // namespace
} // namespace ravelo::test
