#include "uilib/CMenuElementUI.h"

#include "uilib/CMenuUI.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

#include <QPainter>

namespace UiLib {

namespace {
constexpr int kIconColumn = 36;
constexpr int kLineHeight = 9;
} // namespace

QString CMenuElementUI::GetClass() const
{
    return QStringLiteral("MenuElementUI");
}

void* CMenuElementUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CControlUI::GetInterface(name);
}

unsigned CMenuElementUI::GetControlFlags() const
{
    return !m_bLine && IsEnabled() ? UIFLAG_SETCURSOR : 0;
}

CMenuUI* CMenuElementUI::Menu() const
{
    return ControlAs<CMenuUI>(m_pParent);
}

QSize CMenuElementUI::EstimateSize(QSize available)
{
    const QSize fixed = CControlUI::EstimateSize(available);
    if (m_bLine)
        return QSize(fixed.width(), fixed.height() > 0 ? fixed.height() : kLineHeight);
    const CMenuUI* menu = Menu();
    const int font = menu ? menu->GetItemFont() : -1;
    const int textWidth = CRenderEngine::MeasureText(m_pManager, m_sText, font, DT_SINGLELINE).width();
    return QSize(fixed.width() > 0 ? fixed.width() : kIconColumn + textWidth + 24,
                 fixed.height() > 0 ? fixed.height() : (menu ? menu->GetItemHeight() : 30));
}

void CMenuElementUI::DoEvent(TEventUI& event)
{
    if (m_bLine) {
        if (event.Type == UIEVENT_SETCURSOR && m_pManager)
            m_pManager->SetCursor(Qt::ArrowCursor);
        return;
    }
    switch (event.Type) {
    case UIEVENT_MOUSEENTER:
        m_bHot = IsEnabled();
        Invalidate();
        return;
    case UIEVENT_MOUSELEAVE:
        m_bHot = false;
        Invalidate();
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        return;
    case UIEVENT_BUTTONUP:
        if (IsEnabled() && m_rcItem.contains(event.ptMouse) && m_pManager)
            m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMCLICK);
        return;
    case UIEVENT_SETCURSOR:
        if (m_pManager)
            m_pManager->SetCursor(Qt::ArrowCursor);
        return;
    default:
        CControlUI::DoEvent(event);
    }
}

void CMenuElementUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("line"))
        m_bLine = Parse::Bool(value);
    else if (name == QLatin1String("icon"))
        m_sIcon = value;
    else
        CControlUI::SetAttribute(name, value);
}

void CMenuElementUI::DoPaint(QPainter& painter, const QRect& paint)
{
    m_rcPaint = paint.intersected(m_rcItem);
    if (m_rcPaint.isEmpty())
        return;
    const CMenuUI* menu = Menu();
    if (m_bLine) {
        const std::uint32_t line = menu ? menu->GetLineColor() : 0xFFE3E6EB;
        painter.fillRect(QRect(m_rcItem.left() + 8, m_rcItem.center().y(), m_rcItem.width() - 16, 1),
                         QColor::fromRgba(line));
        return;
    }
    CControlUI::DoPaint(painter, paint);
    if (m_bHot && IsEnabled())
        CRenderEngine::DrawRoundColor(painter, m_rcItem, QSize(8, 8),
                                      menu ? menu->GetItemHotBkColor() : 0xFFF1F3F6);
    if (!m_sIcon.isEmpty()) {
        const QRect iconRect(m_rcItem.left() + 10, m_rcItem.top() + (m_rcItem.height() - 16) / 2, 16, 16);
        if (!CRenderEngine::DrawImageString(painter, m_pManager, iconRect, m_rcPaint, m_sIcon))
            m_sIcon.clear();
    }
    std::uint32_t color = menu ? menu->GetItemTextColor() : 0xFF1F2430;
    if (!IsEnabled())
        color = menu ? menu->GetItemDisabledTextColor() : 0xFFA8AFBC;
    else if (m_bHot && menu)
        color = menu->GetItemHotTextColor();
    const QRect text = m_rcItem.adjusted(kIconColumn, 0, -12, 0);
    CRenderEngine::DrawText(painter, m_pManager, text, m_sText, color, menu ? menu->GetItemFont() : -1,
                            DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

} // namespace UiLib
