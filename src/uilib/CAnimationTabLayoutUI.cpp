#include "uilib/CAnimationTabLayoutUI.h"

#include "uilib/CPaintManagerUI.h"

#include <QPainter>

namespace UiLib {

namespace {
constexpr unsigned kAnimationTimer = 0x7A01;
constexpr unsigned kFrameMs = 15;
} // namespace

QString CAnimationTabLayoutUI::GetClass() const
{
    return QStringLiteral("AnimationTabLayoutUI");
}

void* CAnimationTabLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CTabLayoutUI::GetInterface(name);
}

bool CAnimationTabLayoutUI::SelectItem(int index)
{
    const int old = m_iCurSel;
    if (!CTabLayoutUI::SelectItem(index))
        return false;
    if (old >= 0 && old != index && m_pManager && IsVisible()) {
        const QRect content = ContentRect();
        m_nOffset = m_bVertical ? content.height() : content.width();
        if (m_nOffset > 0 && !m_pManager->SetTimer(this, kAnimationTimer, kFrameMs))
            m_nOffset = 0;
    }
    return true;
}

void CAnimationTabLayoutUI::DoEvent(TEventUI& event)
{
    if (event.Type == UIEVENT_TIMER && event.wParam == kAnimationTimer) {
        m_nOffset = m_nOffset * 3 / 5;
        if (m_nOffset < 2) {
            m_nOffset = 0;
            if (m_pManager)
                m_pManager->KillTimer(this, kAnimationTimer);
        }
        Invalidate();
        return;
    }
    CTabLayoutUI::DoEvent(event);
}

void CAnimationTabLayoutUI::DoPaint(QPainter& painter, const QRect& paint)
{
    if (m_nOffset == 0) {
        CTabLayoutUI::DoPaint(painter, paint);
        return;
    }
    m_rcPaint = paint.intersected(m_rcItem);
    if (m_rcPaint.isEmpty())
        return;
    CControlUI::DoPaint(painter, paint);
    CControlUI* page = GetItemAt(m_iCurSel);
    if (!page)
        return;
    const QPoint shift = m_bVertical ? QPoint(0, m_nOffset) : QPoint(m_nOffset, 0);
    const QRect clip = m_rcPaint.intersected(ContentRect());
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    painter.translate(shift);
    page->DoPaint(painter, clip.translated(-shift));
    painter.restore();
}

void CAnimationTabLayoutUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("animation_direction"))
        m_bVertical = value == QLatin1String("vertical");
    else
        CTabLayoutUI::SetAttribute(name, value);
}

} // namespace UiLib
