#include "uilib/CListLabelElementUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"

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
    if (size.height() == 0) {
        const TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
        const int font = info ? info->nFont : -1;
        size.setHeight(info && info->nItemHeight > 0
                           ? info->nItemHeight
                           : (m_pManager ? m_pManager->GetFontMetrics(font).height() : 16) + 12);
    }
    return size;
}

void CListLabelElementUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case UIEVENT_DBLCLICK:
        if (IsEnabled())
            Activate();
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
        if (IsEnabled()) {
            if (m_pManager)
                m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMCLICK);
            if (m_pOwner) {
                if (m_pOwner->IsMultiSelect() && (event.wKeyState & Qt::ControlModifier)) {
                    if (m_bSelected)
                        m_pOwner->UnSelectItem(m_iIndex);
                    else
                        m_pOwner->SelectMultiItem(m_iIndex, true);
                } else {
                    m_pOwner->SelectItem(m_iIndex, true);
                }
            }
        }
        return;
    case UIEVENT_BUTTONUP:
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled())
            SetHot(true);
        return;
    case UIEVENT_MOUSELEAVE:
        SetHot(false);
        return;
    case UIEVENT_KEYDOWN:
    case UIEVENT_SCROLLWHEEL:
        if (m_pOwner && m_pOwner->GetOwnerControl()) {
            m_pOwner->GetOwnerControl()->DoEvent(event);
            return;
        }
        break;
    default:
        break;
    }
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
    if (m_sText.isEmpty())
        return;
    const std::uint32_t color = ListItemTextColor(m_pManager, info, m_bSelected, m_bHot, IsEnabled());
    const QMargins padding = info ? info->rcTextPadding : QMargins(8, 0, 8, 0);
    CRenderEngine::DrawText(painter, m_pManager, m_rcItem.marginsRemoved(padding), m_sText, color,
                            info ? info->nFont : -1, info ? info->uTextStyle : DT_VCENTER | DT_SINGLELINE);
}

} // namespace UiLib
