#include "uilib/CSliderUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

#include <QPainter>

#include <cmath>

namespace UiLib {

namespace {
constexpr std::uint32_t kThumbFill = 0xFFFFFFFF;
constexpr std::uint32_t kThumbPushedFill = 0xFFFFE9E1;
constexpr std::uint32_t kThumbDisabled = 0xFFB5BBC6;
} // namespace

CSliderUI::CSliderUI()
{
    // A bare Slider tag already looks like the rest of the skin: a light well, filled in the accent.
    m_dwBackColor = 0xFFE9ECF1;
    m_dwForeColor = 0xFFFF6A3D;
}

QString CSliderUI::GetClass() const
{
    return QStringLiteral("SliderUI");
}

void* CSliderUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CProgressUI::GetInterface(name);
}

unsigned CSliderUI::GetControlFlags() const
{
    return IsEnabled() ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : 0;
}

void CSliderUI::SetEnabled(bool enabled)
{
    CProgressUI::SetEnabled(enabled);
    if (!IsEnabled())
        SetThumbState(0);
}

void CSliderUI::SetChangeStep(int step)
{
    m_nStep = qMax(1, step);
}

void CSliderUI::SetThumbSize(QSize size)
{
    m_szThumb = size.expandedTo(QSize(1, 1));
    Invalidate();
}

QRect CSliderUI::GetThumbRect() const
{
    const QSize thumb = m_szThumb.boundedTo(m_rcItem.size());
    if (thumb.isEmpty())
        return {};
    const double fraction = Fraction();
    if (m_bHorizontal) {
        const int travel = m_rcItem.width() - thumb.width();
        return QRect(QPoint(m_rcItem.left() + static_cast<int>(std::lround(fraction * travel)),
                            m_rcItem.top() + (m_rcItem.height() - thumb.height()) / 2),
                     thumb);
    }
    const int travel = m_rcItem.height() - thumb.height();
    return QRect(QPoint(m_rcItem.left() + (m_rcItem.width() - thumb.width()) / 2,
                        m_rcItem.top() + travel - static_cast<int>(std::lround(fraction * travel))),
                 thumb);
}

QRect CSliderUI::GetTrackRect() const
{
    if (m_nTrackSize <= 0)
        return m_rcItem;
    if (m_bHorizontal) {
        const int thickness = qMin(m_nTrackSize, m_rcItem.height());
        return QRect(m_rcItem.left(), m_rcItem.top() + (m_rcItem.height() - thickness) / 2, m_rcItem.width(),
                     thickness);
    }
    const int thickness = qMin(m_nTrackSize, m_rcItem.width());
    return QRect(m_rcItem.left() + (m_rcItem.width() - thickness) / 2, m_rcItem.top(), thickness,
                 m_rcItem.height());
}

int CSliderUI::ValueAt(QPoint point) const
{
    const QSize thumb = m_szThumb.boundedTo(m_rcItem.size());
    const int travel = m_bHorizontal ? m_rcItem.width() - thumb.width() : m_rcItem.height() - thumb.height();
    if (travel <= 0 || m_nMax <= m_nMin)
        return m_nValue;
    const int offset = m_bHorizontal ? point.x() - m_nGrabOffset - m_rcItem.left()
                                     : point.y() - m_nGrabOffset - m_rcItem.top();
    double fraction = qBound(0.0, static_cast<double>(offset) / travel, 1.0);
    if (!m_bHorizontal)
        fraction = 1.0 - fraction; // a vertical slider grows upwards
    const double span = static_cast<double>(m_nMax) - m_nMin;
    return static_cast<int>(m_nMin + std::llround(fraction * span));
}

bool CSliderUI::ChangeValue(int value, const QString& notification)
{
    value = m_nMax > m_nMin ? qBound(m_nMin, value, m_nMax) : m_nMin;
    if (value == m_nValue)
        return false;
    SetValue(value);
    if (m_pManager)
        m_pManager->SendNotify(this, notification, static_cast<WPARAM>(value));
    return true;
}

void CSliderUI::SetThumbState(unsigned state)
{
    if (m_uThumbState == state)
        return;
    m_uThumbState = state;
    Invalidate();
}

void CSliderUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent)
            m_pParent->DoEvent(event);
        else
            CProgressUI::DoEvent(event);
        return;
    }
    const QPoint point = event.ptMouse;
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
        if (!IsEnabled() || !m_rcItem.contains(point))
            return;
        const QRect thumb = GetThumbRect();
        m_nPressValue = m_nValue;
        SetThumbState(m_uThumbState | UISTATE_PUSHED | UISTATE_CAPTURED);
        if (thumb.contains(point)) {
            // Picked up where it is: the value stays until the pointer moves.
            m_nGrabOffset = m_bHorizontal ? point.x() - thumb.left() : point.y() - thumb.top();
        } else {
            m_nGrabOffset = m_bHorizontal ? thumb.width() / 2 : thumb.height() / 2;
            ChangeValue(ValueAt(point), DUI_MSGTYPE_VALUECHANGED_MOVE);
        }
        return;
    }
    case UIEVENT_MOUSEMOVE:
        if (IsDragging()) {
            ChangeValue(ValueAt(point), DUI_MSGTYPE_VALUECHANGED_MOVE);
            return;
        }
        if (IsEnabled() && GetThumbRect().contains(point))
            SetThumbState(m_uThumbState | UISTATE_HOT);
        else
            SetThumbState(m_uThumbState & ~UISTATE_HOT);
        return;
    case UIEVENT_BUTTONUP:
        if (!IsDragging())
            return;
        SetThumbState(GetThumbRect().contains(point) ? UISTATE_HOT : 0);
        if (m_nValue != m_nPressValue && m_pManager)
            m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED, static_cast<WPARAM>(m_nValue));
        return;
    case UIEVENT_MOUSEENTER:
        return;
    case UIEVENT_MOUSELEAVE:
        SetThumbState(m_uThumbState & ~UISTATE_HOT);
        return;
    case UIEVENT_SCROLLWHEEL:
        if (!IsEnabled())
            break;
        ChangeValue(m_nValue + (event.wParam == SB_LINEUP ? m_nStep : -m_nStep), DUI_MSGTYPE_VALUECHANGED);
        return;
    case UIEVENT_KEYDOWN: {
        if (!IsEnabled() || IsDragging())
            break;
        const int page = qMax(m_nStep, (m_nMax - m_nMin) / 10);
        switch (event.chKey) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            ChangeValue(m_nValue - m_nStep, DUI_MSGTYPE_VALUECHANGED);
            return;
        case Qt::Key_Right:
        case Qt::Key_Up:
            ChangeValue(m_nValue + m_nStep, DUI_MSGTYPE_VALUECHANGED);
            return;
        case Qt::Key_PageDown:
            ChangeValue(m_nValue - page, DUI_MSGTYPE_VALUECHANGED);
            return;
        case Qt::Key_PageUp:
            ChangeValue(m_nValue + page, DUI_MSGTYPE_VALUECHANGED);
            return;
        case Qt::Key_Home:
            ChangeValue(m_nMin, DUI_MSGTYPE_VALUECHANGED);
            return;
        case Qt::Key_End:
            ChangeValue(m_nMax, DUI_MSGTYPE_VALUECHANGED);
            return;
        default:
            break;
        }
        break;
    }
    case UIEVENT_SETCURSOR:
        if (m_pManager)
            m_pManager->SetCursor(IsEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return;
    default:
        break;
    }
    CProgressUI::DoEvent(event);
}

void CSliderUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("thumbimage") || name == QLatin1String("thumbnormalimage"))
        m_sThumbImage = value;
    else if (name == QLatin1String("thumbhotimage"))
        m_sThumbHotImage = value;
    else if (name == QLatin1String("thumbpushedimage"))
        m_sThumbPushedImage = value;
    else if (name == QLatin1String("thumbsize"))
        SetThumbSize(Parse::Size(value));
    else if (name == QLatin1String("step"))
        SetChangeStep(Parse::Int(value, 1));
    else if (name == QLatin1String("tracksize"))
        m_nTrackSize = qMax(0, Parse::Int(value));
    else if (name == QLatin1String("thumbcolor"))
        m_dwThumbColor = Parse::Color(value);
    else if (name == QLatin1String("thumbhotcolor"))
        m_dwThumbHotColor = Parse::Color(value);
    else if (name == QLatin1String("thumbpushedcolor"))
        m_dwThumbPushedColor = Parse::Color(value);
    else if (name == QLatin1String("disabledforecolor"))
        m_dwDisabledForeColor = Parse::Color(value);
    else
        CProgressUI::SetAttribute(name, value);
    Invalidate();
}

void CSliderUI::PaintBkColor(QPainter& painter)
{
    if (m_nTrackSize <= 0) {
        CProgressUI::PaintBkColor(painter);
        return;
    }
    if ((m_dwBackColor >> 24) == 0)
        return;
    const QRect track = GetTrackRect();
    const int thickness = m_bHorizontal ? track.height() : track.width();
    CRenderEngine::DrawRoundColor(painter, track, QSize(thickness, thickness), m_dwBackColor);
}

void CSliderUI::PaintStatusImage(QPainter& painter)
{
    if (m_nMax > m_nMin) {
        // Filled up to the middle of the thumb, so the bar and the thumb always meet.
        const QRect track = GetTrackRect();
        const QPoint centre = GetThumbRect().center();
        QRect filled = track;
        if (m_bHorizontal)
            filled.setRight(centre.x());
        else
            filled.setTop(centre.y());
        const int thickness = m_bHorizontal ? track.height() : track.width();
        const int round = m_nTrackSize > 0 ? thickness : qMin(m_cxyBorderRound.width(), thickness);
        PaintFill(painter, filled, QSize(round, round), IsEnabled() ? 0 : m_dwDisabledForeColor);
    }
    PaintThumb(painter);
}

void CSliderUI::PaintThumb(QPainter& painter)
{
    const QRect thumb = GetThumbRect();
    if (thumb.isEmpty())
        return;
    QString* image = &m_sThumbImage;
    if ((m_uThumbState & UISTATE_PUSHED) && !m_sThumbPushedImage.isEmpty())
        image = &m_sThumbPushedImage;
    else if ((m_uThumbState & UISTATE_HOT) && !m_sThumbHotImage.isEmpty())
        image = &m_sThumbHotImage;
    if (!image->isEmpty()) {
        if (CRenderEngine::DrawImageString(painter, m_pManager, thumb, m_rcPaint, *image))
            return;
        image->clear();
    }
    // Without pictures: a white disc ringed in the accent, darker while held, thicker with the focus.
    const std::uint32_t ring = !IsEnabled()                       ? kThumbDisabled
                               : (m_uThumbState & UISTATE_PUSHED) ? m_dwThumbPushedColor
                               : (m_uThumbState & UISTATE_HOT)    ? m_dwThumbHotColor
                                                                  : m_dwThumbColor;
    const std::uint32_t fill = (m_uThumbState & UISTATE_PUSHED) ? kThumbPushedFill : kThumbFill;
    const qreal width = IsFocused() ? 3.0 : 2.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor::fromRgba(ring), width));
    painter.setBrush(QColor::fromRgba(fill));
    painter.drawEllipse(QRectF(thumb).adjusted(width / 2, width / 2, -width / 2, -width / 2));
    painter.restore();
}

} // namespace UiLib
