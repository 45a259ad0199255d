#include "controls/CScrollTextUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/UiParse.h"

#include <QPainter>

namespace ravelo {

using namespace UiLib;

CScrollTextUI::CScrollTextUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
}

CScrollTextUI::~CScrollTextUI()
{
    if (m_pManager)
        m_pManager->KillTimer(this, kScrollTimer);
}

QString CScrollTextUI::GetClass() const
{
    return QStringLiteral("ScrollTextUI");
}

void* CScrollTextUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CLabelUI::GetInterface(name);
}

void CScrollTextUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case UIEVENT_MOUSEENTER: {
        const int width = MeasureTextWidth();
        const int room = m_rcItem.width() - m_rcTextPadding.left() - m_rcTextPadding.right();
        if (width > room && m_pManager) {
            m_uTextStyle &= ~DT_END_ELLIPSIS;
            m_nTextWidth = width;
            m_pManager->SetTimer(this, kScrollTimer, static_cast<unsigned>(qMax(1, m_nSpeed)));
            Invalidate();
        }
        break;
    }
    case UIEVENT_TIMER:
        if (event.wParam == kScrollTimer) {
            ++m_nOffset;
            if (m_nOffset >= m_nTextWidth)
                m_nOffset = 0;
            Invalidate();
            return;
        }
        break;
    case UIEVENT_MOUSELEAVE:
        m_uTextStyle |= DT_END_ELLIPSIS;
        m_nOffset = 0;
        m_nTextWidth = 0;
        if (m_pManager)
            m_pManager->KillTimer(this, kScrollTimer);
        Invalidate();
        break;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CScrollTextUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("speed"))
        m_nSpeed = qMax(1, Parse::Int(value, 20));
    CLabelUI::SetAttribute(name, value);
}

void CScrollTextUI::PaintText(QPainter& painter)
{
    QRect rect = m_rcItem.marginsRemoved(m_rcTextPadding);
    rect.translate(-m_nOffset, 0);
    if (m_nTextWidth > 0)
        rect.setWidth(qMax(rect.width(), m_nTextWidth));
    const unsigned saved = m_uTextStyle;
    m_uTextStyle |= DT_SINGLELINE;
    m_uTextStyle &= ~DT_WORDBREAK;
    painter.save();
    painter.setClipRect(m_rcItem.marginsRemoved(m_rcTextPadding), Qt::IntersectClip);
    DrawLabelText(painter, rect, CurrentTextColor(), m_iFont);
    painter.restore();
    m_uTextStyle = saved;
}

} // namespace ravelo
