#include "uilib/CListLabelElementUI.h"

#include "uilib/CPaintManagerUI.h"

namespace UiLib {

QString CListLabelElementUI::GetClass() const
{
    return QStringLiteral("ListLabelElementUI");
}

void* CListLabelElementUI::GetInterface(const QString& name)
{
    if (name == QLatin1String("ListItem"))
        return static_cast<IListItemUI*>(this);
    if (name == QLatin1String("ListLabelElement"))
        return this;
    return CControlUI::GetInterface(name);
}

bool CListLabelElementUI::Select(bool select)
{
    if (m_bSelected != select) {
        m_bSelected = select;
        Invalidate();
    }
    return true;
}

void CListLabelElementUI::SetHot(bool hot)
{
    if (m_bHot == hot)
        return;
    m_bHot = hot;
    Invalidate();
}

bool CListLabelElementUI::Activate()
{
    if (!CControlUI::Activate())
        return false;
    if (m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
    return true;
}

QSize CListLabelElementUI::EstimateSize(QSize available)
{
    QSize size = CControlUI::EstimateSize(available);
    if (size.height() == 0)
        size.setHeight(DefaultListItemHeight(*this, *this));
    return size;
}

void CListLabelElementUI::DoEvent(TEventUI& event)
{
    if (!HandleListItemEvent(*this, *this, event))
        CControlUI::DoEvent(event);
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
