#include "uilib/CScrollBarUI.h"

#include "uilib/CContainerUI.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

#include <QPainter>

namespace UiLib {

namespace {
constexpr int kDefaultThickness = 8;
constexpr int kMinThumb = 24;
} // namespace

CScrollBarUI::CScrollBarUI()
{
    m_cxyFixed = QSize(kDefaultThickness, 0);
}

QString CScrollBarUI::GetClass() const
{
    return QStringLiteral("ScrollBarUI");
}

void* CScrollBarUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CControlUI::GetInterface(name);
}

void CScrollBarUI::SetHorizontal(bool horizontal)
{
    if (m_bHorizontal == horizontal)
        return;
    m_bHorizontal = horizontal;
    m_cxyFixed = horizontal ? QSize(0, GetThickness()) : QSize(GetThickness(), 0);
}

void CScrollBarUI::SetScrollRange(int range)
{
    m_nRange = qMax(0, range);
    m_nScrollPos = qBound(0, m_nScrollPos, m_nRange);
    UpdateThumb();
}

void CScrollBarUI::SetScrollPos(int pos)
{
    pos = qBound(0, pos, m_nRange);
    if (pos == m_nScrollPos)
        return;
    m_nScrollPos = pos;
    UpdateThumb();
}

int CScrollBarUI::GetThickness() const
{
    const int thickness = m_bHorizontal ? m_cxyFixed.height() : m_cxyFixed.width();
    return thickness > 0 ? thickness : kDefaultThickness;
}

void CScrollBarUI::SetPos(QRect rc, bool needInvalidate)
{
    CControlUI::SetPos(rc, needInvalidate);
    UpdateThumb();
}

void CScrollBarUI::UpdateThumb()
{
    const int track = m_bHorizontal ? m_rcItem.width() : m_rcItem.height();
    if (track <= 0) {
        m_rcThumb = QRect();
        return;
    }
    const int visible = track;
    int thumb =
        m_nRange > 0 ? static_cast<int>(static_cast<qint64>(track) * visible / (visible + m_nRange)) : track;
    thumb = qBound(qMin(kMinThumb, track), thumb, track);
    const int travel = track - thumb;
    const int offset =
        m_nRange > 0 ? static_cast<int>(static_cast<qint64>(travel) * m_nScrollPos / m_nRange) : 0;
    if (m_bHorizontal)
        m_rcThumb = QRect(m_rcItem.left() + offset, m_rcItem.top(), thumb, m_rcItem.height());
    else
        m_rcThumb = QRect(m_rcItem.left(), m_rcItem.top() + offset, m_rcItem.width(), thumb);
    Invalidate();
}

void CScrollBarUI::ScrollOwnerTo(int pos)
{
    pos = qBound(0, pos, m_nRange);
    if (!m_pOwner) {
        SetScrollPos(pos);
        return;
    }
    QPoint current = m_pOwner->GetScrollPos();
    if (m_bHorizontal)
        current.setX(pos);
    else
        current.setY(pos);
    m_pOwner->SetScrollPos(current);
}

void CScrollBarUI::DoEvent(TEventUI& event)
{
    if (!IsEnabled()) {
        if (m_pOwner && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND)
            m_pOwner->DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (m_rcThumb.contains(event.ptMouse)) {
            m_uThumbState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            m_ptDragStart = event.ptMouse;
            m_nDragStartPos = m_nScrollPos;
        } else if (m_pOwner) {
            const bool before =
                m_bHorizontal ? event.ptMouse.x() < m_rcThumb.left() : event.ptMouse.y() < m_rcThumb.top();
            const int page = m_bHorizontal ? m_rcItem.width() : m_rcItem.height();
            ScrollOwnerTo(m_nScrollPos + (before ? -page : page));
        }
        Invalidate();
        return;
    case UIEVENT_MOUSEMOVE:
        if (m_uThumbState & UISTATE_CAPTURED) {
            const int track = m_bHorizontal ? m_rcItem.width() : m_rcItem.height();
            const int thumb = m_bHorizontal ? m_rcThumb.width() : m_rcThumb.height();
            const int travel = qMax(1, track - thumb);
            const int moved =
                m_bHorizontal ? event.ptMouse.x() - m_ptDragStart.x() : event.ptMouse.y() - m_ptDragStart.y();
            ScrollOwnerTo(m_nDragStartPos + static_cast<int>(static_cast<qint64>(moved) * m_nRange / travel));
        } else {
            const bool hot = m_rcThumb.contains(event.ptMouse);
            if (hot != bool(m_uThumbState & UISTATE_HOT)) {
                m_uThumbState = hot ? (m_uThumbState | UISTATE_HOT) : (m_uThumbState & ~UISTATE_HOT);
                Invalidate();
            }
        }
        return;
    case UIEVENT_BUTTONUP:
        m_uThumbState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        return;
    case UIEVENT_MOUSELEAVE:
        m_uThumbState &= ~UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_SCROLLWHEEL:
        if (m_pOwner)
            m_pOwner->DoEvent(event);
        return;
    case UIEVENT_SETCURSOR:
        if (m_pManager)
            m_pManager->SetCursor(Qt::ArrowCursor);
        return;
    default:
        CControlUI::DoEvent(event);
        return;
    }
}

void CScrollBarUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("hor"))
        SetHorizontal(Parse::Bool(value));
    else if (name == QLatin1String("range"))
        SetScrollRange(Parse::Int(value));
    else if (name == QLatin1String("value"))
        SetScrollPos(Parse::Int(value));
    else if (name == QLatin1String("linesize"))
        SetLineSize(Parse::Int(value));
    else if (name == QLatin1String("thumbcolor"))
        m_dwThumbColor = Parse::Color(value);
    else if (name == QLatin1String("thumbhotcolor"))
        m_dwThumbHotColor = Parse::Color(value);
    else if (name == QLatin1String("thumbpushedcolor"))
        m_dwThumbPushedColor = Parse::Color(value);
    else if (name == QLatin1String("thumbnormalimage"))
        m_sThumbNormalImage = value;
    else if (name == QLatin1String("thumbhotimage"))
        m_sThumbHotImage = value;
    else if (name == QLatin1String("thumbpushedimage"))
        m_sThumbPushedImage = value;
    else if (name == QLatin1String("bknormalimage"))
        SetBkImage(value);
    else
        CControlUI::SetAttribute(name, value);
}

void CScrollBarUI::DoPaint(QPainter& painter, const QRect& paint)
{
    m_rcPaint = paint.intersected(m_rcItem);
    if (m_rcPaint.isEmpty())
        return;
    PaintBkColor(painter);
    PaintBkImage(painter);
    if (m_rcThumb.isEmpty() || m_nRange <= 0)
        return;
    QString* image = &m_sThumbNormalImage;
    std::uint32_t color = m_dwThumbColor;
    if (m_uThumbState & UISTATE_PUSHED) {
        image = m_sThumbPushedImage.isEmpty() ? image : &m_sThumbPushedImage;
        color = m_dwThumbPushedColor;
    } else if (m_uThumbState & UISTATE_HOT) {
        image = m_sThumbHotImage.isEmpty() ? image : &m_sThumbHotImage;
        color = m_dwThumbHotColor;
    }
    if (!image->isEmpty()) {
        if (CRenderEngine::DrawImageString(painter, m_pManager, m_rcThumb, m_rcPaint, *image))
            return;
        image->clear();
    }
    const QRect thumb = m_bHorizontal ? m_rcThumb.adjusted(1, 2, -1, -2) : m_rcThumb.adjusted(2, 1, -2, -1);
    const int radius = m_bHorizontal ? thumb.height() : thumb.width();
    CRenderEngine::DrawRoundColor(painter, thumb, QSize(radius, radius), color);
}

} // namespace UiLib
