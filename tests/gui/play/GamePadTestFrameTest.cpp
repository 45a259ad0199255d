// The gamepad test window with SDL virtual pads on the program's input thread: the count, the pad
// options, the lamps, the sticks and the motors.
#include "PlayFixture.h"

#include "gui/common/GuiMessages.h"

#include "gui/play/CDpadUI.h"
#include "gui/play/CGamePadTestFrame.h"
#include "gui/play/CStickUI.h"
#include "input/InputThread.h"
#include "input/VirtualPads.h"
#include "uilib/COptionUI.h"
#include "uilib/WinDefines.h"

namespace ravelo::test {
namespace {

using UiLib::COptionUI;
using Speeds = RumbleLog::Speeds;

class GamePadTestFrameTest : public PlayFixture
{
protected:
    void SetUp() override
    {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        PlayFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_input = &engines().Input();
        ASSERT_TRUE(m_input->Available()) << m_input->InitError();
        if (RealJoysticks(*m_input) != 0)
            GTEST_SKIP() << "real joysticks attached; these tests need none";
    }

    /// Opens the test window without its modal loop, so the test drives it; true once the first count
    /// is shown.
    bool Open(CGamePadTestFrame& test)
    {
        if (!test.Create(0, QStringLiteral("手柄测试"), UiLib::UI_WNDSTYLE_DIALOG, UiLib::WS_EX_WINDOWEDGE))
            return false;
        return GuiDriver::WaitFor([&] {
            return Text(test, "Lb_GamePadNum") == QStringLiteral("0") || Option(test, 1)->IsEnabled();
        });
    }

    static QString Text(CGamePadTestFrame& test, const char* name)
    {
        UiLib::CControlUI* control = GuiDriver::Find(test, QLatin1String(name));
        return control ? control->GetText() : QString();
    }
    static COptionUI* Option(CGamePadTestFrame& test, int pad)
    {
        return UiLib::ControlAs<COptionUI>(GuiDriver::Find(test, QStringLiteral("Opt_GamePad%1").arg(pad)));
    }
    static COptionUI* Lamp(CGamePadTestFrame& test, const char* name)
    {
        return UiLib::ControlAs<COptionUI>(GuiDriver::Find(test, QLatin1String(name)));
    }
    static bool Lit(CGamePadTestFrame& test, const char* name)
    {
        return GuiDriver::WaitFor([&] { return Lamp(test, name)->IsSelected(); });
    }

    void Button(SDL_Joystick* pad, SDL_GameControllerButton button, bool down)
    {
        SetVirtualButton(*m_input, pad, button, down);
    }
    void Axis(SDL_Joystick* pad, SDL_GameControllerAxis axis, int value)
    {
        SetVirtualAxis(*m_input, pad, axis, static_cast<Sint16>(value));
    }

    InputThread* m_input = nullptr;
};

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

/// The index of the first setting from index from on that is speeds, waiting for it with the event
/// loop running (the window asks for the rumble); kNotFound when it does not come in time.
std::size_t Find(RumbleLog& log, std::size_t from, RumbleLog::Speeds speeds)
{
    for (std::size_t i = from;; ++i) {
        if (!GuiDriver::WaitFor([&] { return log.Count() > i; }))
            return kNotFound;
        if (log.At(i) == speeds)
            return i;
    }
}

/// The setting at index, waiting for it with the event loop running.
std::optional<RumbleLog::Speeds> SettingAt(RumbleLog& log, std::size_t index)
{
    if (!GuiDriver::WaitFor([&] { return log.Count() > index; }))
        return std::nullopt;
    return log.At(index);
}

/// The raw value of a virtual pad's trigger axis that the input thread reads back as this XInput step:
/// SDL maps a virtual trigger's full axis (-32768 to 32767) onto its trigger range 0 to 32767.
int TriggerStep(int step)
{
    return 2 * (step * 32767 / 255) - 32768;
}

TEST_F(GamePadTestFrameTest, PadsComingAndGoingEnableTheirOptionsAndTheChosenPadLightsThePicture)
{
    CGamePadTestFrame test(*m_input);
    ASSERT_TRUE(Open(test));
    // No pad: "0" and every pad option off and disabled.
    EXPECT_EQ(Text(test, "Lb_GamePadNum"), QStringLiteral("0"));
    for (int pad = 1; pad <= 4; ++pad) {
        EXPECT_FALSE(Option(test, pad)->IsEnabled());
        EXPECT_FALSE(Option(test, pad)->IsSelected());
    }

    // The first pad is chosen as it comes.
    const int first = AttachVirtualPad(*m_input, "Pad A", 0x045E, 0x028E);
    ASSERT_GE(first, 0) << SDL_GetError();
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Text(test, "Lb_GamePadNum") == QStringLiteral("1"); }));
    EXPECT_TRUE(Option(test, 1)->IsSelected());
    EXPECT_TRUE(Option(test, 1)->IsEnabled());
    EXPECT_FALSE(Option(test, 2)->IsEnabled());
    SDL_Joystick* padA = OpenVirtualPad(*m_input, first);
    ASSERT_TRUE(padA);

    // Buttons light their lamps; a trigger lights at 101, not at 100.
    Button(padA, SDL_CONTROLLER_BUTTON_START, true);
    Button(padA, SDL_CONTROLLER_BUTTON_A, true);
    Button(padA, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    Button(padA, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    Axis(padA, SDL_CONTROLLER_AXIS_TRIGGERLEFT, TriggerStep(100));
    // The input thread may publish between two of these, so each lamp is waited for.
    EXPECT_TRUE(Lit(test, "Opt_START"));
    EXPECT_TRUE(Lit(test, "Opt_A"));
    EXPECT_TRUE(Lit(test, "Opt_LEFT_SHOUDLER"));
    EXPECT_FALSE(Lamp(test, "Opt_B")->IsSelected());
    EXPECT_FALSE(Lamp(test, "Opt_LEFT_TRIGGER")->IsSelected());
    auto* dpad = UiLib::ControlAs<CDpadUI>(GuiDriver::Find(test, QStringLiteral("Dpad")));
    ASSERT_TRUE(dpad);
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return dpad->IsPressed(CDpadUI::Left); }));
    EXPECT_FALSE(dpad->IsPressed(CDpadUI::Up));
    Axis(padA, SDL_CONTROLLER_AXIS_TRIGGERLEFT, TriggerStep(101));
    EXPECT_TRUE(Lit(test, "Opt_LEFT_TRIGGER"));

    // A stick at (7000, 7000) is centred; at (7000, 9000) the knob moves right and up. SDL counts Y
    // downwards.
    auto* stick = UiLib::ControlAs<CStickUI>(GuiDriver::Find(test, QStringLiteral("LeftStick")));
    ASSERT_TRUE(stick);
    const QPoint centre = stick->GetCenter();
    Axis(padA, SDL_CONTROLLER_AXIS_LEFTX, 7000);
    Axis(padA, SDL_CONTROLLER_AXIS_LEFTY, -7000);
    Button(padA, SDL_CONTROLLER_BUTTON_LEFTSTICK, true);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return stick->IsPushed(); }));
    EXPECT_EQ(stick->GetKnobCenter(), centre);
    Axis(padA, SDL_CONTROLLER_AXIS_LEFTY, -9000);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return stick->GetKnobCenter() != centre; }));
    EXPECT_EQ(stick->GetKnobCenter(), centre + QPoint(1, -1));

    // Two more pads: the choice stays; the third pad can be chosen, and only its states show.
    ASSERT_GE(AttachVirtualPad(*m_input, "Pad B", 0x054C, 0x05C4), 0);
    const int third = AttachVirtualPad(*m_input, "Pad C", 0x045E, 0x02EA);
    ASSERT_GE(third, 0);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Text(test, "Lb_GamePadNum") == QStringLiteral("3"); }));
    EXPECT_TRUE(Option(test, 1)->IsSelected());
    EXPECT_TRUE(Option(test, 3)->IsEnabled());
    EXPECT_FALSE(Option(test, 4)->IsEnabled());
    ASSERT_TRUE(GuiDriver::Click(test, QStringLiteral("Opt_GamePad3")));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return test.ShownSlot() == 2u; }));
    EXPECT_TRUE(Option(test, 3)->IsSelected());
    EXPECT_FALSE(Lamp(test, "Opt_START")->IsSelected()); // pad C holds nothing
    SDL_Joystick* padC = OpenVirtualPad(*m_input, third);
    Button(padC, SDL_CONTROLLER_BUTTON_B, true);
    Button(padA, SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_TRUE(Lit(test, "Opt_B"));
    EXPECT_FALSE(Lamp(test, "Opt_X")->IsSelected());

    // The chosen pad goes: its option is off and disabled, and the first pad is shown again.
    ASSERT_TRUE(m_input->Invoke([third] { return SDL_JoystickDetachVirtual(third) == 0; }));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return Text(test, "Lb_GamePadNum") == QStringLiteral("2"); }));
    EXPECT_FALSE(Option(test, 3)->IsEnabled());
    EXPECT_FALSE(Option(test, 3)->IsSelected());
    EXPECT_TRUE(Option(test, 1)->IsSelected());
    EXPECT_EQ(test.ShownSlot(), 0u);
    EXPECT_TRUE(Lit(test, "Opt_X"));
    test.Close(ravelo::kDialogClosed);
}

TEST_F(GamePadTestFrameTest, TheTriggersRunTheChosenPadsMotorsUntilVibrateIsOffOrTheWindowCloses)
{
    RumbleLog log;
    CGamePadTestFrame test(*m_input);
    ASSERT_TRUE(Open(test));
    const int device = AttachVirtualPad(*m_input, "Pad", 0x045E, 0x028E, SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                        &RumbleLog::Record, &log);
    ASSERT_GE(device, 0) << SDL_GetError();
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return test.ShownSlot() == 0u; }));
    SDL_Joystick* pad = OpenVirtualPad(*m_input, device);
    ASSERT_TRUE(pad);

    Axis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    EXPECT_EQ(SettingAt(log, 0), Speeds(65535, 0)); // a full trigger: the motor at full speed
    Axis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, TriggerStep(1));
    EXPECT_EQ(SettingAt(log, 1), Speeds(65535, 511));

    // Held on, the request is renewed before its second runs out, so the motors keep going.
    EXPECT_EQ(SettingAt(log, 2), Speeds(65535, 511));

    // Vibrate off stops them at once, whatever the triggers say; on again runs them again.
    ASSERT_TRUE(GuiDriver::Click(test, QStringLiteral("Opt_Vibrate")));
    const std::size_t stopped = Find(log, 2, Speeds(0, 0));
    ASSERT_NE(stopped, kNotFound);
    ASSERT_TRUE(GuiDriver::Click(test, QStringLiteral("Opt_Vibrate")));
    EXPECT_NE(Find(log, stopped, Speeds(65535, 511)), kNotFound);

    // Closing the window stops every motor: once the input thread has run what was asked of it, the
    // last thing the pad heard is a stop.
    test.Close(ravelo::kDialogClosed);
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !test.GetHWND(); }));
    m_input->Invoke([] {});
    const std::size_t count = log.Count();
    ASSERT_GT(count, stopped);
    EXPECT_EQ(log.At(count - 1), Speeds(0, 0));
}

} // namespace
} // namespace ravelo::test
