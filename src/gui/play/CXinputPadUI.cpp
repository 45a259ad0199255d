#include "gui/play/CXinputPadUI.h"

#include "gui/play/CDpadUI.h"
#include "gui/play/CStickUI.h"
#include "gui/play/PadTestView.h"
#include "uilib/COptionUI.h"
#include "uilib/CPaintManagerUI.h"

namespace ravelo {

using namespace UiLib;

namespace {

void Light(COptionUI* lamp, bool on)
{
    if (lamp && lamp->IsSelected() != on)
        lamp->Selected(on, false);
}

} // namespace

QString CXinputPadUI::GetClass() const
{
    return QStringLiteral("XinputPadUI");
}

void* CXinputPadUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CVerticalLayoutUI::GetInterface(name);
}

COptionUI* CXinputPadUI::Lamp(const char* name)
{
    return ControlAs<COptionUI>(m_pManager->FindSubControlByName(this, QLatin1String(name)));
}

void CXinputPadUI::DoInit()
{
    CVerticalLayoutUI::DoInit();
    if (!m_pManager)
        return;
    m_pLeftTrigger = Lamp("Opt_LEFT_TRIGGER");
    m_pRightTrigger = Lamp("Opt_RIGHT_TRIGGER");
    m_pLeftShoulder = Lamp("Opt_LEFT_SHOUDLER");
    m_pRightShoulder = Lamp("Opt_RIGHT_SHOULDER");
    m_pBack = Lamp("Opt_BACK");
    m_pStart = Lamp("Opt_START");
    m_pA = Lamp("Opt_A");
    m_pB = Lamp("Opt_B");
    m_pX = Lamp("Opt_X");
    m_pY = Lamp("Opt_Y");
    m_pDpad = ControlAs<CDpadUI>(m_pManager->FindSubControlByName(this, QStringLiteral("Dpad")));
    m_pLeftStick = ControlAs<CStickUI>(m_pManager->FindSubControlByName(this, QStringLiteral("LeftStick")));
    m_pRightStick = ControlAs<CStickUI>(m_pManager->FindSubControlByName(this, QStringLiteral("RightStick")));
}

void CXinputPadUI::Update(const PadState& state)
{
    const auto held = [&state](std::uint16_t bit) { return (state.buttons & bit) != 0; };
    if (m_pDpad)
        m_pDpad->SetPressed(held(PadState::kDpadLeft), held(PadState::kDpadUp), held(PadState::kDpadRight),
                            held(PadState::kDpadDown));
    Light(m_pLeftTrigger, TriggerLit(state.leftTrigger));
    Light(m_pRightTrigger, TriggerLit(state.rightTrigger));
    Light(m_pStart, held(PadState::kStart));
    Light(m_pBack, held(PadState::kBack));
    Light(m_pLeftShoulder, held(PadState::kLeftShoulder));
    Light(m_pRightShoulder, held(PadState::kRightShoulder));
    Light(m_pA, held(PadState::kA));
    Light(m_pB, held(PadState::kB));
    Light(m_pX, held(PadState::kX));
    Light(m_pY, held(PadState::kY));
    if (m_pLeftStick) {
        const auto [x, y] = ApplyDeadZone(state.thumbLX, state.thumbLY);
        m_pLeftStick->SetValue(x, y);
        m_pLeftStick->SetPushed(held(PadState::kLeftThumb));
    }
    if (m_pRightStick) {
        const auto [x, y] = ApplyDeadZone(state.thumbRX, state.thumbRY);
        m_pRightStick->SetValue(x, y);
        m_pRightStick->SetPushed(held(PadState::kRightThumb));
    }
}

} // namespace ravelo
