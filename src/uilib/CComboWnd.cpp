#include "uilib/CComboWnd.h"

#include "uilib/CComboUI.h"
#include "uilib/CPaintManagerUI.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace UiLib {

namespace {
constexpr int kBorder = 1;
}

CComboWnd::CComboWnd(CComboUI* owner, QWidget* parent) : QWidget(parent, Qt::Popup), m_owner(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    m_hot = owner->GetCurSel();
}

CComboWnd::~CComboWnd()
{
    if (m_owner)
        m_owner->OnDropClosed();
}

int CComboWnd::ItemHeight(int index) const
{
    CControlUI* item = m_owner ? m_owner->GetItemAt(index) : nullptr;
    if (!item || !item->IsVisible())
        return 0;
    return qMax(1, item->EstimateSize(QSize(width(), 0)).height());
}

int CComboWnd::ContentHeight() const
{
    int height = 0;
    for (int i = 0; m_owner && i < m_owner->GetCount(); ++i)
        height += ItemHeight(i);
    return height;
}

int CComboWnd::IndexAt(QPoint point) const
{
    if (!m_owner || !rect().contains(point))
        return -1;
    int y = kBorder - m_scroll;
    for (int i = 0; i < m_owner->GetCount(); ++i) {
        const int h = ItemHeight(i);
        if (point.y() >= y && point.y() < y + h)
            return i;
        y += h;
    }
    return -1;
}

void CComboWnd::SetHot(int index)
{
    if (index == m_hot)
        return;
    m_hot = index;
    update();
}

void CComboWnd::Choose(int index)
{
    CComboUI* owner = m_owner;
    close();
    if (owner && index >= 0)
        owner->SelectItem(index, false, true);
}

void CComboWnd::paintEvent(QPaintEvent*)
{
    if (!m_owner)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(m_owner->GetDropBoxBkColor()));
    const QRect inner = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    painter.save();
    painter.setClipRect(inner);
    int y = inner.top() - m_scroll;
    for (int i = 0; i < m_owner->GetCount(); ++i) {
        CControlUI* item = m_owner->GetItemAt(i);
        const int h = ItemHeight(i);
        if (h == 0)
            continue;
        const QRect cell(inner.left(), y, inner.width(), h);
        y += h;
        if (!cell.intersects(inner))
            continue;
        // The items belong to the combo; they are placed in this pop-up's coordinates to be drawn.
        item->SetPos(cell, false);
        if (auto* listItem = item->As<IListItemUI>())
            listItem->SetHot(i == m_hot);
        item->DoPaint(painter, cell);
    }
    painter.restore();
    painter.setPen(QColor::fromRgba(m_owner->GetDropBoxBorderColor()));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CComboWnd::mouseMoveEvent(QMouseEvent* event)
{
    SetHot(IndexAt(event->position().toPoint()));
}

void CComboWnd::mouseReleaseEvent(QMouseEvent* event)
{
    const int index = IndexAt(event->position().toPoint());
    if (index >= 0 && event->button() == Qt::LeftButton)
        Choose(index);
}

void CComboWnd::wheelEvent(QWheelEvent* event)
{
    const int range = qMax(0, ContentHeight() - (height() - 2 * kBorder));
    m_scroll = qBound(0, m_scroll - event->angleDelta().y() / 3, range);
    update();
}

void CComboWnd::keyPressEvent(QKeyEvent* event)
{
    if (!m_owner)
        return;
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Up:
        SetHot(qMax(0, m_hot - 1));
        return;
    case Qt::Key_Down:
        SetHot(qMin(m_owner->GetCount() - 1, m_hot + 1));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Choose(m_hot);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CComboWnd::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    for (int i = 0; m_owner && i < m_owner->GetCount(); ++i) {
        if (auto* item = m_owner->GetItemAt(i)->As<IListItemUI>())
            item->SetHot(false);
    }
    close();
}

} // namespace UiLib
