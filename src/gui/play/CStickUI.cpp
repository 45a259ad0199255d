#include "gui/play/CStickUI.h"

#include "gui/play/PadTestView.h"
#include "uilib/UiParse.h"

#include <QPainter>

namespace ravelo {

using namespace UiLib;

QString CStickUI::GetClass() const
{
    return QStringLiteral("StickUI");
}

void* CStickUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CControlUI::GetInterface(name);
}

void CStickUI::SetPos(QRect rc, bool needInvalidate)
{
    CControlUI::SetPos(rc, needInvalidate);
    m_ptCenter = QPoint(m_rcItem.left() + m_rcItem.width() / 2, m_rcItem.top() + m_rcItem.height() / 2);
    m_nRingRadius = qMin(m_rcItem.width(), m_rcItem.height()) / 2 - kPenWidth;
    m_nKnobRadius = m_nRingRadius - kMargin;
    const auto [dx, dy] = KnobOffset(m_nX, m_nY, kMargin);
    m_ptKnob = m_ptCenter + QPoint(dx, dy);
}

void CStickUI::SetValue(int x, int y)
{
    m_nX = x;
    m_nY = y;
    const auto [dx, dy] = KnobOffset(x, y, kMargin);
    const QPoint knob = m_ptCenter + QPoint(dx, dy);
    if (knob == m_ptKnob)
        return;
    m_ptKnob = knob;
    Invalidate();
}

void CStickUI::SetPushed(bool pushed)
{
    if (m_bPushed == pushed)
        return;
    m_bPushed = pushed;
    Invalidate();
}

void CStickUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("circlecolor"))
        m_dwCircleColor = Parse::Color(value);
    else if (name == QLatin1String("stickcolor"))
        m_dwStickColor = Parse::Color(value);
    else if (name == QLatin1String("stickpushcolor"))
        m_dwPushColor = Parse::Color(value);
    CControlUI::SetAttribute(name, value);
}

void CStickUI::DoPaint(QPainter& painter, const QRect& paint)
{
    CControlUI::DoPaint(painter, paint);
    if (m_nRingRadius <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor::fromRgba(m_dwCircleColor), kPenWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(m_ptCenter), m_nRingRadius, m_nRingRadius);
    if (m_nKnobRadius > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgba(m_bPushed ? m_dwPushColor : m_dwStickColor));
        painter.drawEllipse(QPointF(m_ptKnob), m_nKnobRadius, m_nKnobRadius);
    }
    painter.restore();
}

} // namespace ravelo
