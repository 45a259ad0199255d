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
    return name == QLatin1String("Button") ? this : CLabelUI::GetInterface(name);
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
        m_uButtonState = 0;
}

void CButtonUI::SetButtonState(unsigned state)
{
    if (m_uButtonState == state)
        return;
    m_uButtonState = state;
    Invalidate();
}

void CButtonUI::SetNormalImage(const QString& description)
{
    m_sNormalImage = description;
    Invalidate();
}

void CButtonUI::SetHotImage(const QString& description)
{
    m_sHotImage = description;
    Invalidate();
}

void CButtonUI::SetPushedImage(const QString& description)
{
    m_sPushedImage = description;
    Invalidate();
}

void CButtonUI::SetDisabledImage(const QString& description)
{
    m_sDisabledImage = description;
    Invalidate();
}

void CButtonUI::SetForeImage(const QString& description)
{
    m_sForeImage = description;
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
        if (m_rcItem.contains(event.ptMouse) && IsEnabled()) {
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if (m_uButtonState & UISTATE_CAPTURED) {
            const unsigned before = m_uButtonState;
            if (m_rcItem.contains(event.ptMouse))
                m_uButtonState |= UISTATE_PUSHED;
            else
                m_uButtonState &= ~UISTATE_PUSHED;
            if (before != m_uButtonState)
                Invalidate();
        }
        return;
    case UIEVENT_BUTTONUP:
        if (m_uButtonState & UISTATE_CAPTURED) {
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
            if (m_rcItem.contains(event.ptMouse))
                Activate();
        }
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
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
    if (name == QLatin1String("normalimage"))
        SetNormalImage(value);
    else if (name == QLatin1String("hotimage"))
        SetHotImage(value);
    else if (name == QLatin1String("pushedimage"))
        SetPushedImage(value);
    else if (name == QLatin1String("focusedimage"))
        m_sFocusedImage = value;
    else if (name == QLatin1String("disabledimage"))
        SetDisabledImage(value);
    else if (name == QLatin1String("foreimage"))
        SetForeImage(value);
    else if (name == QLatin1String("hotforeimage"))
        m_sHotForeImage = value;
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
    else if (m_uButtonState & UISTATE_PUSHED)
        color = m_dwPushedBkColor ? m_dwPushedBkColor : m_dwHotBkColor;
    else if (m_uButtonState & UISTATE_HOT)
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
    if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedTextColor)
        return m_dwPushedTextColor;
    if ((m_uButtonState & (UISTATE_HOT | UISTATE_PUSHED)) && m_dwHotTextColor)
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
    if (description.isEmpty())
        return false;
    if (DrawImage(painter, description))
        return true;
    description.clear();
    return false;
}

void CButtonUI::PaintStatusImage(QPainter& painter)
{
    bool drawn = false;
    if (!IsEnabled())
        drawn = DrawOrForget(painter, m_sDisabledImage);
    else if (m_uButtonState & UISTATE_PUSHED)
        drawn = DrawOrForget(painter, m_sPushedImage) || DrawOrForget(painter, m_sHotImage);
    else if (m_uButtonState & UISTATE_HOT)
        drawn = DrawOrForget(painter, m_sHotImage);
    else if (IsFocused())
        drawn = DrawOrForget(painter, m_sFocusedImage);
    if (!drawn)
        DrawOrForget(painter, m_sNormalImage);

    if ((m_uButtonState & UISTATE_HOT) && IsEnabled() && DrawOrForget(painter, m_sHotForeImage))
        return;
    DrawOrForget(painter, m_sForeImage);
}

} // namespace UiLib
