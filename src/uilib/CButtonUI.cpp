#include "uilib/CButtonUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

#include <QPainter>

namespace UiLib {

CButtonUI::CButtonUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

QString CButtonUI::GetClass() const
{
    return QStringLiteral("ButtonUI");
}

void* CButtonUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CLabelUI::GetInterface(name);
}

unsigned CButtonUI::GetControlFlags() const
{
    return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate()
{
    if (!CLabelUI::Activate())
        return false;
    if (m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
    return true;
}

void CButtonUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_state.Reset();
}

void CButtonUI::SetButtonState(unsigned state)
{
    if (m_state.Get() == state)
        return;
    m_state.Set(state);
    Invalidate();
}

void CButtonUI::SetStateImage(CButtonState::Image image, const QString& description)
{
    m_state.SetImage(image, description);
    Invalidate();
}

void CButtonUI::SetHotTextColor(std::uint32_t argb)
{
    m_dwHotTextColor = argb;
    Invalidate();
}

void CButtonUI::SetPushedTextColor(std::uint32_t argb)
{
    m_dwPushedTextColor = argb;
    Invalidate();
}

void CButtonUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        CLabelUI::DoEvent(event);
        return;
    case UIEVENT_KEYDOWN:
        if (IsKeyboardEnabled() &&
            (event.chKey == Qt::Key_Space || event.chKey == Qt::Key_Return || event.chKey == Qt::Key_Enter)) {
            Activate();
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE: {
        bool clicked = false;
        m_state.HandlePointer(*this, event, &clicked);
        if (clicked)
            Activate();
        return;
    }
    case UIEVENT_SETCURSOR:
        if (m_pManager)
            m_pManager->SetCursor(IsEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::SetAttribute(const QString& name, const QString& value)
{
    if (m_state.SetImageAttribute(name, value))
        Invalidate();
    else if (name == QLatin1String("hottextcolor"))
        SetHotTextColor(Parse::Color(value));
    else if (name == QLatin1String("pushedtextcolor"))
        SetPushedTextColor(Parse::Color(value));
    else if (name == QLatin1String("focusedtextcolor"))
        m_dwFocusedTextColor = Parse::Color(value);
    else if (name == QLatin1String("hotbkcolor"))
        m_dwHotBkColor = Parse::Color(value);
    else if (name == QLatin1String("pushedbkcolor"))
        m_dwPushedBkColor = Parse::Color(value);
    else if (name == QLatin1String("disabledbkcolor"))
        m_dwDisabledBkColor = Parse::Color(value);
    else
        CLabelUI::SetAttribute(name, value);
}

void CButtonUI::PaintBkColor(QPainter& painter)
{
    std::uint32_t color = 0;
    if (!IsEnabled())
        color = m_dwDisabledBkColor;
    else if (m_state.IsPushed())
        color = m_dwPushedBkColor ? m_dwPushedBkColor : m_dwHotBkColor;
    else if (m_state.IsHot())
        color = m_dwHotBkColor;
    if ((color >> 24) == 0) {
        CLabelUI::PaintBkColor(painter);
        return;
    }
    CRenderEngine::DrawRoundColor(painter, m_rcItem, m_cxyBorderRound, color);
}

std::uint32_t CButtonUI::StateTextColor() const
{
    if (!IsEnabled())
        return CurrentTextColor();
    if (m_state.IsPushed() && m_dwPushedTextColor)
        return m_dwPushedTextColor;
    if ((m_state.IsHot() || m_state.IsPushed()) && m_dwHotTextColor)
        return m_dwHotTextColor;
    if (IsFocused() && m_dwFocusedTextColor)
        return m_dwFocusedTextColor;
    return CurrentTextColor();
}

void CButtonUI::PaintText(QPainter& painter)
{
    DrawLabelText(painter, m_rcItem.marginsRemoved(m_rcTextPadding), StateTextColor(), m_iFont);
}

bool CButtonUI::DrawOrForget(QPainter& painter, QString& description)
{
    return CButtonState::DrawOrForget(*this, painter, description);
}

void CButtonUI::PaintStatusImage(QPainter& painter)
{
    m_state.Paint(*this, painter);
}

} // namespace UiLib
