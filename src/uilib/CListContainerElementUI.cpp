#include "uilib/CListContainerElementUI.h"

#include "uilib/CPaintManagerUI.h"

namespace UiLib {

QString CListContainerElementUI::GetClass() const
{
    return QStringLiteral("ListContainerElementUI");
}

void* CListContainerElementUI::GetInterface(const QString& name)
{
    return ListItemInterface(name, kInterface.name);
}

QSize CListContainerElementUI::EstimateSize(QSize available)
{
    QSize size = CHorizontalLayoutUI::EstimateSize(available);
    if (size.height() == 0 && m_pOwner)
        size.setHeight(DefaultListItemHeight(*this, *this));
    return size;
}

void CListContainerElementUI::DoEvent(TEventUI& event)
{
    // A row whose mouse is off passes pointer events on to its list.
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pOwner && m_pOwner->GetOwnerControl())
            m_pOwner->GetOwnerControl()->DoEvent(event);
        else
            CHorizontalLayoutUI::DoEvent(event);
        return;
    }
    CListItemBase::DoEvent(event);
}

void CListContainerElementUI::DoPaint(QPainter& painter, const QRect& paint)
{
    m_rcPaint = paint.intersected(m_rcItem);
    if (m_rcPaint.isEmpty())
        return;
    const TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    DrawListItemBackground(painter, m_pManager, info, m_rcItem, m_rcPaint, m_bSelected, m_bHot, IsEnabled());
    CControlUI::DoPaint(painter, paint);
    DrawItemText(painter, m_rcItem);
    if (!m_items.empty())
        PaintChildren(painter, m_rcPaint);
}

void CListContainerElementUI::DrawItemText(QPainter& painter, const QRect& rect)
{
    DrawListItemText(painter, *this, *this, rect, m_sText);
}

} // namespace UiLib
