#include "gui/play/CGamePadTestFrame.h"

#include "gui/play/CDpadUI.h"
#include "gui/play/CStickUI.h"
#include "gui/play/CXinputPadUI.h"
#include "gui/play/PadTestView.h"
#include "input/InputMessages.h"
#include "input/InputThread.h"
#include "platform/Translate.h"
#include "uilib/COptionUI.h"
#include "uilib/WinDefines.h"

namespace ravelo {

using namespace UiLib;
using namespace std::chrono_literals;

namespace {

// Each request runs the motors this long at most; the window renews it well before it lapses.
constexpr auto kRumbleSpan = 1000ms;
constexpr auto kRumbleRenewal = 500ms;

} // namespace

CGamePadTestFrame::CGamePadTestFrame(InputThread& input)
    : CSkinDialog(QStringLiteral("skin\\xmls\\GamePadTestDialog.xml"), QStringLiteral("GamePadTestFrame")),
      m_input(input)
{
    m_renew.setInterval(kRumbleRenewal);
    QObject::connect(&m_renew, &QTimer::timeout, [this] { UpdateRumble(true); });
}

CGamePadTestFrame::~CGamePadTestFrame()
{
    StopWatching();
}

int CGamePadTestFrame::ShowModalOver(WindowHandle owner)
{
    return CSkinDialog::ShowModalOver(owner, QString::fromUtf8(Tr("手柄测试")));
}

CControlUI* CGamePadTestFrame::CreateControl(const QString& className)
{
    if (className == QLatin1String("XinputPad"))
        return new CXinputPadUI;
    if (className == QLatin1String("Dpad"))
        return new CDpadUI;
    if (className == QLatin1String("Stick"))
        return new CStickUI;
    return CSkinDialog::CreateControl(className);
}

void CGamePadTestFrame::InitWindow()
{
    for (std::size_t slot = 0; slot < m_slotOptions.size(); ++slot)
        m_slotOptions[slot] = ControlAs<COptionUI>(Find(QStringLiteral("Opt_GamePad%1").arg(slot + 1)));
    m_pVibrate = ControlAs<COptionUI>(Find(QStringLiteral("Opt_Vibrate")));
    m_pPad = ControlAs<CXinputPadUI>(Find(QStringLiteral("XinputPad")));
}

void CGamePadTestFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        if (!m_watched) {
            m_watched = GetHWND();
            m_input.AddStateWatch(m_watched); // the summary and the states follow as posted messages
        }
        return;
    }
    if (msg.sType == DUI_MSGTYPE_SELECTCHANGED && msg.pSender) {
        if (msg.pSender == m_pVibrate) {
            if (!m_pVibrate->IsSelected())
                m_input.StopAllRumble();
            UpdateRumble(false);
            return;
        }
        for (std::size_t slot = 0; slot < m_slotOptions.size(); ++slot)
            if (msg.pSender == m_slotOptions[slot] && m_slotOptions[slot]->IsSelected())
                Show(slot);
        return;
    }
    CSkinDialog::Notify(msg);
}

LRESULT CGamePadTestFrame::HandleMessage(Message& message, bool& handled)
{
    switch (message.id) {
    case WM_PAD_SUMMARY:
        if (const std::unique_ptr<PadSummary> summary = message.TakePayload<PadSummary>())
            OnSummary(static_cast<int>(message.wParam), *summary);
        handled = true;
        return 0;
    case WM_PAD_STATE:
        if (const std::unique_ptr<PadState> state = message.TakePayload<PadState>())
            OnState(message.wParam, *state);
        handled = true;
        return 0;
    case WM_SYSCOMMAND:
        // Only Btn_Close (or Escape) ends the test, not the window manager's close.
        if (message.wParam == SC_CLOSE) {
            handled = true;
            return 0;
        }
        break;
    case WM_CLOSE:
        StopWatching();
        break;
    default:
        break;
    }
    return CSkinDialog::HandleMessage(message, handled);
}

void CGamePadTestFrame::OnSummary(int count, const PadSummary& summary)
{
    if (CControlUI* number = Find(QStringLiteral("Lb_GamePadNum")))
        number->SetText(QString::number(count));
    for (std::size_t slot = 0; slot < summary.connected.size(); ++slot) {
        if (!summary.connected[slot])
            m_states[slot].reset();
        if (COptionUI* option = m_slotOptions[slot]) {
            if (!summary.connected[slot] && option->IsSelected())
                option->Selected(false, false);
            option->SetEnabled(summary.connected[slot] != 0);
        }
    }
    const std::optional<std::size_t> slot = SlotToShow(summary, m_shown);
    if (slot && m_slotOptions[*slot] && !m_slotOptions[*slot]->IsSelected())
        m_slotOptions[*slot]->Selected(true, false);
    if (slot != m_shown)
        Show(slot);
}

void CGamePadTestFrame::OnState(std::size_t slot, const PadState& state)
{
    if (slot >= m_states.size())
        return;
    m_states[slot] = state;
    if (m_shown != slot)
        return;
    if (m_pPad)
        m_pPad->Update(state);
    UpdateRumble(false);
}

void CGamePadTestFrame::Show(std::optional<std::size_t> slot)
{
    if (slot != m_shown) {
        // Only the pad under test rumbles.
        m_input.StopAllRumble();
        m_low = m_high = 0;
        m_renew.stop();
    }
    m_shown = slot;
    if (m_pPad)
        m_pPad->Update(slot && m_states[*slot] ? *m_states[*slot] : PadState{});
    UpdateRumble(false);
}

void CGamePadTestFrame::UpdateRumble(bool renew)
{
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    const bool vibrate = m_pVibrate && m_pVibrate->IsSelected();
    if (vibrate && m_shown && m_states[*m_shown]) {
        low = MotorSpeed(m_states[*m_shown]->leftTrigger);
        high = MotorSpeed(m_states[*m_shown]->rightTrigger);
    }
    const bool changed = low != m_low || high != m_high;
    m_low = low;
    m_high = high;
    if (!m_shown || (!changed && !renew))
        return;
    if (low == 0 && high == 0) {
        m_renew.stop();
        m_input.StopAllRumble();
        return;
    }
    m_input.Rumble(*m_shown, low, high, kRumbleSpan);
    if (!m_renew.isActive())
        m_renew.start();
}

void CGamePadTestFrame::StopWatching()
{
    m_renew.stop();
    if (!m_watched)
        return;
    m_input.RemoveStateWatch(m_watched);
    m_watched = 0;
    m_input.StopAllRumble();
}

} // namespace ravelo
