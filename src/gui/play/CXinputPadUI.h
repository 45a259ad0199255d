#pragma once

#include "input/PadState.h"
#include "uilib/CVerticalLayoutUI.h"

namespace UiLib {
class COptionUI;
}

namespace ravelo {

class CDpadUI;
class CStickUI;

/// The pad picture of the gamepad test: lights its lamps (options that ignore the mouse, selected while
/// pressed), its cross and its sticks from a pad's state. Its children are found by name when it joins
/// the window: Opt_LEFT_TRIGGER, Opt_RIGHT_TRIGGER, Opt_LEFT_SHOUDLER, Opt_RIGHT_SHOULDER, Opt_BACK,
/// Opt_START, Opt_A, Opt_B, Opt_X, Opt_Y, Dpad, LeftStick, RightStick; a missing one is skipped. Tag
/// XinputPad. UI thread.
class CXinputPadUI : public UiLib::CVerticalLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CXinputPadUI> kInterface{"CXinputPadUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    void DoInit() override;

    /// Shows the state: lamps, cross, sticks (inside the dead zone centred) and the sticks' presses.
    void Update(const PadState& state);

private:
    UiLib::COptionUI* Lamp(const char* name);

    UiLib::COptionUI* m_pLeftTrigger = nullptr;
    UiLib::COptionUI* m_pRightTrigger = nullptr;
    UiLib::COptionUI* m_pLeftShoulder = nullptr;
    UiLib::COptionUI* m_pRightShoulder = nullptr;
    UiLib::COptionUI* m_pBack = nullptr;
    UiLib::COptionUI* m_pStart = nullptr;
    UiLib::COptionUI* m_pA = nullptr;
    UiLib::COptionUI* m_pB = nullptr;
    UiLib::COptionUI* m_pX = nullptr;
    UiLib::COptionUI* m_pY = nullptr;
    CDpadUI* m_pDpad = nullptr;
    CStickUI* m_pLeftStick = nullptr;
    CStickUI* m_pRightStick = nullptr;
};

} // namespace ravelo
