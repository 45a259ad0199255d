#include "uilib/CListLabelElementUI.h"

namespace UiLib {

QString CListLabelElementUI::GetClass() const
{
    return QStringLiteral("ListLabelElementUI");
}

void* CListLabelElementUI::GetInterface(const QString& name)
{
    return ListItemInterface(name, kInterface.name);
}

QSize CListLabelElementUI::EstimateSize(QSize available)
{
    QSize size = CControlUI::EstimateSize(available);
    if (size.height() == 0)
        size.setHeight(DefaultListItemHeight(*this, *this));
    return size;
}

void CListLabelElementUI::DoPaint(QPainter& painter, const QRect& paint)
{
    m_rcPaint = paint.intersected(m_rcItem);
    if (m_rcPaint.isEmpty())
        return;
    const TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    DrawListItemBackground(painter, m_pManager, info, m_rcItem, m_rcPaint, m_bSelected, m_bHot, IsEnabled());
    CControlUI::DoPaint(painter, paint);
    DrawListItemText(painter, *this, *this, m_rcItem, m_sText);
}

} // namespace UiLib
