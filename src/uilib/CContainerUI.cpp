#include "uilib/CContainerUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CScrollBarUI.h"
#include "uilib/UiParse.h"

#include <QPainter>

#include <algorithm>

namespace UiLib {

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI()
{
    // Children go first, while this container still answers as their parent.
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* item : items)
        delete item;
    delete m_pVerticalScrollBar;
    delete m_pHorizontalScrollBar;
}

QString CContainerUI::GetClass() const
{
    return QStringLiteral("ContainerUI");
}

void* CContainerUI::GetInterface(const QString& name)
{
    if (name == QLatin1String(kInterface.name) || name == QLatin1String("Container"))
        return this;
    return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_items[static_cast<std::size_t>(index)];
}

int CContainerUI::GetItemIndex(CControlUI* control) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), control);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index)
{
    const int current = GetItemIndex(control);
    if (current < 0 || index < 0 || index >= GetCount())
        return false;
    m_items.erase(m_items.begin() + current);
    m_items.insert(m_items.begin() + index, control);
    NeedUpdate();
    return true;
}

bool CContainerUI::Add(CControlUI* control)
{
    return AddAt(control, GetCount());
}

bool CContainerUI::AddAt(CControlUI* control, int index)
{
    if (!control || index < 0 || index > GetCount() || GetItemIndex(control) >= 0)
        return false;
    m_items.insert(m_items.begin() + index, control);
    control->SetInternVisible(IsVisible());
    if (m_pManager)
        m_pManager->InitControls(control, this);
    else
        control->SetManager(control->GetManager(), this, false); // joins the window with this container
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* control, bool doNotDestroy)
{
    const int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index, doNotDestroy);
}

bool CContainerUI::RemoveAt(int index, bool doNotDestroy)
{
    CControlUI* control = GetItemAt(index);
    if (!control)
        return false;
    m_items.erase(m_items.begin() + index);
    if (m_pManager) {
        m_pManager->ReapObjects(control);
        if (!doNotDestroy)
            m_pManager->AddDelayedCleanup(control);
    } else if (!doNotDestroy) {
        delete control;
    }
    if (doNotDestroy)
        control->SetManager(nullptr, nullptr, false);
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll()
{
    while (!m_items.empty())
        RemoveAt(GetCount() - 1);
    if (m_pVerticalScrollBar)
        m_pVerticalScrollBar->SetScrollPos(0);
    if (m_pHorizontalScrollBar)
        m_pHorizontalScrollBar->SetScrollPos(0);
    NeedUpdate();
}

void CContainerUI::RecvMessage(CControlUI*, WPARAM, LPARAM) {}

CControlUI* CContainerUI::FindSubControl(const QString& name)
{
    return m_pManager ? m_pManager->FindSubControlByName(this, name)
                      : FindControlIf([&name](CControlUI* c) { return c->GetName() == name; });
}

void CContainerUI::SetInset(const QMargins& inset)
{
    m_rcInset = inset;
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding)
{
    m_iChildPadding = padding;
    NeedUpdate();
}

void CContainerUI::SetVisible(bool visible)
{
    if (m_bVisible == visible)
        return;
    CControlUI::SetVisible(visible);
    for (CControlUI* item : m_items)
        item->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible)
{
    CControlUI::SetInternVisible(visible);
    for (CControlUI* item : m_items)
        item->SetInternVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool enabled)
{
    if (m_pVerticalScrollBar)
        m_pVerticalScrollBar->SetMouseEnabled(enabled);
    if (m_pHorizontalScrollBar)
        m_pHorizontalScrollBar->SetMouseEnabled(enabled);
    CControlUI::SetMouseEnabled(enabled);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    // Scroll bars made before the container joined a window take the window's defaults now.
    if (manager && !m_bScrollBarDefaultsApplied) {
        m_bScrollBarDefaultsApplied = true;
        if (m_pVerticalScrollBar)
            m_pVerticalScrollBar->ApplyAttributeList(
                manager->GetDefaultAttributeList(QStringLiteral("VScrollBar")));
        if (m_pHorizontalScrollBar)
            m_pHorizontalScrollBar->ApplyAttributeList(
                manager->GetDefaultAttributeList(QStringLiteral("HScrollBar")));
    }
    for (CControlUI* item : m_items)
        item->SetManager(manager, this, init);
    if (m_pVerticalScrollBar)
        m_pVerticalScrollBar->SetManager(manager, this, init);
    if (m_pHorizontalScrollBar)
        m_pHorizontalScrollBar->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

QRect CContainerUI::ContentRect() const
{
    QRect rc = m_rcItem.marginsRemoved(m_rcInset);
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
        rc.setWidth(rc.width() - m_pVerticalScrollBar->GetThickness());
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
        rc.setHeight(rc.height() - m_pHorizontalScrollBar->GetThickness());
    if (rc.width() < 0)
        rc.setWidth(0);
    if (rc.height() < 0)
        rc.setHeight(0);
    return rc;
}

void CContainerUI::SetFloatPos(CControlUI* control)
{
    // A floating control without a size of its own covers the rest of its container from its offset:
    // an overlay over a page (loading, failed) follows the page's size.
    const QPoint xy = control->GetFixedXY();
    const int width =
        control->GetFixedWidth() > 0 ? control->GetFixedWidth() : qMax(0, m_rcItem.width() - xy.x());
    const int height =
        control->GetFixedHeight() > 0 ? control->GetFixedHeight() : qMax(0, m_rcItem.height() - xy.y());
    control->SetPos(QRect(m_rcItem.left() + xy.x(), m_rcItem.top() + xy.y(), width, height));
}

void CContainerUI::SetPos(QRect rc, bool needInvalidate)
{
    CControlUI::SetPos(rc, needInvalidate);
    if (m_items.empty() && !m_pVerticalScrollBar && !m_pHorizontalScrollBar)
        return;
    const QRect content = ContentRect();
    const QPoint scroll = GetScrollPos();
    int cxNeeded = 0;
    int cyNeeded = 0;
    for (CControlUI* item : m_items) {
        if (!item->IsVisible())
            continue;
        if (item->IsFloat()) {
            SetFloatPos(item);
            continue;
        }
        const QMargins pad = item->GetPadding();
        QRect cell = content.marginsRemoved(pad);
        const QSize wanted = item->EstimateSize(cell.size());
        int cx = wanted.width() > 0 ? wanted.width() : cell.width();
        int cy = wanted.height() > 0 ? wanted.height() : cell.height();
        cx = qBound(item->GetMinWidth(), cx, qMax(item->GetMinWidth(), item->GetMaxWidth()));
        cy = qBound(item->GetMinHeight(), cy, qMax(item->GetMinHeight(), item->GetMaxHeight()));
        int x = cell.left();
        if (cx < cell.width() && (m_uChildAlign & DT_CENTER))
            x += (cell.width() - cx) / 2;
        else if (cx < cell.width() && (m_uChildAlign & DT_RIGHT))
            x += cell.width() - cx;
        int y = cell.top();
        if (cy < cell.height() && (m_uChildVAlign & DT_VCENTER))
            y += (cell.height() - cy) / 2;
        else if (cy < cell.height() && (m_uChildVAlign & DT_BOTTOM))
            y += cell.height() - cy;
        item->SetPos(QRect(x - scroll.x(), y - scroll.y(), cx, cy));
        cxNeeded = qMax(cxNeeded, cx + pad.left() + pad.right());
        cyNeeded = qMax(cyNeeded, cy + pad.top() + pad.bottom());
    }
    ProcessScrollBar(content, cxNeeded, cyNeeded);
}

void CContainerUI::ProcessScrollBar(QRect content, int cxRequired, int cyRequired)
{
    bool relayout = false;
    if (m_pVerticalScrollBar) {
        const bool need = cyRequired > content.height();
        if (need != m_pVerticalScrollBar->IsVisible()) {
            m_pVerticalScrollBar->SetVisible(need);
            relayout = true;
        }
        m_pVerticalScrollBar->SetScrollRange(need ? cyRequired - content.height() : 0);
    }
    if (m_pHorizontalScrollBar) {
        const bool need = cxRequired > content.width();
        if (need != m_pHorizontalScrollBar->IsVisible()) {
            m_pHorizontalScrollBar->SetVisible(need);
            relayout = true;
        }
        m_pHorizontalScrollBar->SetScrollRange(need ? cxRequired - content.width() : 0);
    }
    if (relayout && !m_bScrollProcess) {
        m_bScrollProcess = true;
        SetPos(m_rcItem, false);
        m_bScrollProcess = false;
        return;
    }
    const QRect inner = m_rcItem.marginsRemoved(m_rcInset);
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) {
        const int w = m_pVerticalScrollBar->GetThickness();
        m_pVerticalScrollBar->SetPos(
            QRect(inner.left() + inner.width() - w, inner.top(), w, content.height()));
    }
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) {
        const int h = m_pHorizontalScrollBar->GetThickness();
        m_pHorizontalScrollBar->SetPos(
            QRect(inner.left(), inner.top() + inner.height() - h, content.width(), h));
    }
}

void CContainerUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent)
            m_pParent->DoEvent(event);
        return;
    }
    if (event.Type == UIEVENT_SCROLLWHEEL) {
        if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible() && m_pVerticalScrollBar->IsEnabled()) {
            if (event.wParam == SB_LINEUP)
                LineUp();
            else
                LineDown();
            return;
        }
        if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible() &&
            m_pHorizontalScrollBar->IsEnabled()) {
            if (event.wParam == SB_LINEUP)
                LineLeft();
            else
                LineRight();
            return;
        }
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("inset")) {
        SetInset(Parse::Margins(value));
    } else if (name == QLatin1String("childpadding")) {
        SetChildPadding(Parse::Int(value));
    } else if (name == QLatin1String("mousechild")) {
        SetMouseChildEnabled(Parse::Bool(value));
    } else if (name == QLatin1String("childalign")) {
        m_uChildAlign = value == QLatin1String("center")  ? DT_CENTER
                        : value == QLatin1String("right") ? DT_RIGHT
                                                          : DT_LEFT;
        NeedUpdate();
    } else if (name == QLatin1String("childvalign")) {
        m_uChildVAlign = value == QLatin1String("vcenter") || value == QLatin1String("center") ? DT_VCENTER
                         : value == QLatin1String("bottom")                                    ? DT_BOTTOM
                                                                                               : DT_TOP;
        NeedUpdate();
    } else if (name == QLatin1String("vscrollbar")) {
        EnableScrollBar(Parse::Bool(value), m_pHorizontalScrollBar != nullptr);
    } else if (name == QLatin1String("hscrollbar")) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, Parse::Bool(value));
    } else if (name == QLatin1String("vscrollbarstyle")) {
        EnableScrollBar(true, m_pHorizontalScrollBar != nullptr);
        m_pVerticalScrollBar->ApplyAttributeList(value);
    } else if (name == QLatin1String("hscrollbarstyle")) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, true);
        m_pHorizontalScrollBar->ApplyAttributeList(value);
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

void CContainerUI::PaintChildren(QPainter& painter, const QRect& paint)
{
    const QRect clip = paint.intersected(ContentRect());
    if (!clip.isEmpty()) {
        painter.save();
        painter.setClipRect(clip, Qt::IntersectClip);
        for (CControlUI* item : m_items) {
            if (!item->IsVisible() || item->IsFloat())
                continue;
            if (item->GetPos().intersects(clip))
                item->DoPaint(painter, clip);
        }
        painter.restore();
    }
    // Floating children may sit on the inset, so they clip to the whole item.
    for (CControlUI* item : m_items) {
        if (!item->IsVisible() || !item->IsFloat())
            continue;
        if (item->GetPos().intersects(paint)) {
            painter.save();
            painter.setClipRect(paint, Qt::IntersectClip);
            item->DoPaint(painter, paint);
            painter.restore();
        }
    }
}

void CContainerUI::DoPaint(QPainter& painter, const QRect& paint)
{
    m_rcPaint = paint.intersected(m_rcItem);
    if (m_rcPaint.isEmpty())
        return;
    CControlUI::DoPaint(painter, paint);
    if (!m_items.empty())
        PaintChildren(painter, m_rcPaint);
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible() &&
        m_pVerticalScrollBar->GetPos().intersects(m_rcPaint))
        m_pVerticalScrollBar->DoPaint(painter, m_rcPaint);
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible() &&
        m_pHorizontalScrollBar->GetPos().intersects(m_rcPaint))
        m_pHorizontalScrollBar->DoPaint(painter, m_rcPaint);
}

CControlUI* CContainerUI::FindControlAt(QPoint point)
{
    if (!IsVisible() || !m_rcItem.contains(point))
        return nullptr;
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (bar && bar->IsVisible() && bar->IsMouseEnabled() && bar->GetPos().contains(point))
            return bar;
    }
    if (m_bMouseChildEnabled) {
        // Floating children lie on top, then the later children of the flow.
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
            if (!(*it)->IsFloat())
                continue;
            if (CControlUI* found = (*it)->FindControlAt(point))
                return found;
        }
        if (ContentRect().contains(point)) {
            for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
                if ((*it)->IsFloat())
                    continue;
                if (CControlUI* found = (*it)->FindControlAt(point))
                    return found;
            }
        }
    }
    return IsMouseEnabled() ? this : nullptr;
}

CControlUI* CContainerUI::FindControlIf(const std::function<bool(CControlUI*)>& visit)
{
    if (visit(this))
        return this;
    for (CControlUI* item : m_items) {
        if (CControlUI* found = item->FindControlIf(visit))
            return found;
    }
    return nullptr;
}

QPoint CContainerUI::GetScrollPos() const
{
    return QPoint(
        m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible() ? m_pHorizontalScrollBar->GetScrollPos()
                                                                      : 0,
        m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible() ? m_pVerticalScrollBar->GetScrollPos() : 0);
}

QSize CContainerUI::GetScrollRange() const
{
    return QSize(m_pHorizontalScrollBar ? m_pHorizontalScrollBar->GetScrollRange() : 0,
                 m_pVerticalScrollBar ? m_pVerticalScrollBar->GetScrollRange() : 0);
}

void CContainerUI::SetScrollPos(QPoint pos)
{
    const QPoint before = GetScrollPos();
    if (m_pVerticalScrollBar)
        m_pVerticalScrollBar->SetScrollPos(pos.y());
    if (m_pHorizontalScrollBar)
        m_pHorizontalScrollBar->SetScrollPos(pos.x());
    if (GetScrollPos() == before)
        return;
    SetPos(m_rcItem, false);
    Invalidate();
}

void CContainerUI::LineUp()
{
    const int line = m_pVerticalScrollBar ? m_pVerticalScrollBar->GetLineSize() : 40;
    SetScrollPos(GetScrollPos() - QPoint(0, line));
}

void CContainerUI::LineDown()
{
    const int line = m_pVerticalScrollBar ? m_pVerticalScrollBar->GetLineSize() : 40;
    SetScrollPos(GetScrollPos() + QPoint(0, line));
}

void CContainerUI::LineLeft()
{
    const int line = m_pHorizontalScrollBar ? m_pHorizontalScrollBar->GetLineSize() : 40;
    SetScrollPos(GetScrollPos() - QPoint(line, 0));
}

void CContainerUI::LineRight()
{
    const int line = m_pHorizontalScrollBar ? m_pHorizontalScrollBar->GetLineSize() : 40;
    SetScrollPos(GetScrollPos() + QPoint(line, 0));
}

void CContainerUI::PageUp()
{
    SetScrollPos(GetScrollPos() - QPoint(0, ContentRect().height()));
}

void CContainerUI::PageDown()
{
    SetScrollPos(GetScrollPos() + QPoint(0, ContentRect().height()));
}

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal)
{
    auto make = [this](CScrollBarUI*& bar, bool wanted, bool horizontalBar) {
        if (wanted && !bar) {
            bar = new CScrollBarUI;
            bar->SetHorizontal(horizontalBar);
            bar->SetOwner(this);
            bar->SetVisible(false);
            if (m_pManager) {
                bar->ApplyAttributeList(m_pManager->GetDefaultAttributeList(
                    horizontalBar ? QStringLiteral("HScrollBar") : QStringLiteral("VScrollBar")));
                bar->SetManager(m_pManager, this, true);
            } else {
                bar->SetManager(nullptr, this, false);
            }
        } else if (!wanted && bar) {
            if (m_pManager)
                m_pManager->ReapObjects(bar);
            delete bar;
            bar = nullptr;
        }
    };
    make(m_pVerticalScrollBar, vertical, false);
    make(m_pHorizontalScrollBar, horizontal, true);
    NeedUpdate();
}

void CContainerUI::EnsureVisible(CControlUI* control)
{
    if (!control || !m_pVerticalScrollBar)
        return;
    const QRect content = ContentRect();
    const QRect pos = control->GetPos();
    QPoint scroll = GetScrollPos();
    if (pos.top() < content.top())
        scroll.ry() -= content.top() - pos.top();
    else if (pos.bottom() > content.bottom())
        scroll.ry() += pos.bottom() - content.bottom();
    SetScrollPos(scroll);
}

} // namespace UiLib
