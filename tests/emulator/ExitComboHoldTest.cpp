#include "emulator/ExitComboHold.h"

#include <gtest/gtest.h>

using namespace ravelo;
using namespace std::chrono_literals;
using Clock = ExitComboHold::Clock;

namespace {

PadState Holding(std::uint16_t buttons)
{
    PadState state;
    state.buttons = buttons;
    return state;
}

const PadState kBoth = Holding(PadState::kStart | PadState::kBack | PadState::kA);

} // namespace

TEST(ExitComboHold, StartAndBackHeldOnOnePadForTheHoldTimeFireOnce)
{
    ExitComboHold hold(1500ms);
    const Clock::time_point t0 = Clock::now();
    EXPECT_FALSE(hold.Due());

    // One of the two buttons is not the combo, nor are both on two different pads.
    hold.Update(0, Holding(PadState::kStart), t0);
    hold.Update(1, Holding(PadState::kBack), t0);
    EXPECT_FALSE(hold.Due());
    EXPECT_FALSE(hold.Fire(t0 + 10s));

    // Other buttons held with them do not matter; the hold counts from the first state that has both.
    hold.Update(0, kBoth, t0 + 100ms);
    hold.Update(0, kBoth, t0 + 900ms);
    ASSERT_TRUE(hold.Due());
    EXPECT_EQ(*hold.Due(), t0 + 1600ms);
    EXPECT_FALSE(hold.Fire(t0 + 1599ms));
    EXPECT_TRUE(hold.Fire(t0 + 1600ms));
    // Fired once: still held, it neither fires again nor asks to be woken.
    EXPECT_FALSE(hold.Fire(t0 + 5s));
    EXPECT_FALSE(hold.Due());
    hold.Update(0, kBoth, t0 + 6s);
    EXPECT_FALSE(hold.Fire(t0 + 10s));

    // Letting go arms it again, from the next press.
    hold.Update(0, Holding(PadState::kStart), t0 + 11s);
    hold.Update(0, kBoth, t0 + 12s);
    EXPECT_EQ(*hold.Due(), t0 + 13500ms);
}

TEST(ExitComboHold, LettingGoEarlyOrAPadChangeStartsAgain)
{
    ExitComboHold hold(1500ms);
    const Clock::time_point t0 = Clock::now();
    hold.Update(2, kBoth, t0);
    hold.Update(2, Holding(PadState::kBack), t0 + 1400ms); // let go of Start just before the time
    EXPECT_FALSE(hold.Due());
    EXPECT_FALSE(hold.Fire(t0 + 2s));

    // Two pads: the one that started first is due first.
    hold.Update(3, kBoth, t0 + 3s);
    hold.Update(1, kBoth, t0 + 2s);
    EXPECT_EQ(*hold.Due(), t0 + 3500ms);

    // Pads came or went: every hold counts again from the states that follow.
    hold.Reset();
    EXPECT_FALSE(hold.Due());
    EXPECT_FALSE(hold.Fire(t0 + 10s));

    // Slots beyond the four are not pads.
    hold.Update(4, kBoth, t0);
    EXPECT_FALSE(hold.Due());
}
