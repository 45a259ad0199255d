#include "uilib/CListContainerElementUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"

namespace UiLib {

QString CListContainerElementUI::GetClass() const
{
    return QStringLiteral("ListContainerElementUI");
}

void* CListContainerElementUI::GetInterface(const QString& name)
{
    if (name == QLatin1String("ListItem"))
        return static_cast<IListItemUI*>(this);
    if (name == QLatin1String("ListContainerElement"))
        return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

bool CListContainerElementUI::Select(bool select)
{
    if (m_bSelected == select)
        return true;
    m_bSelected = select;
    Invalidate();
    return true;
}

void CListContainerElementUI::SetHot(bool hot)
{
    if (m_bHot == hot)
        return;
    m_bHot = hot;
    Invalidate();
}

bool CListContainerElementUI::Activate()
{
    if (!CHorizontalLayoutUI::Activate())
        return false;
    if (m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
    return true;
}

QSize CListContainerElementUI::EstimateSize(QSize available)
{
    QSize size = CHorizontalLayoutUI::EstimateSize(available);
    if (size.height() == 0 && m_pOwner) {
        const TListInfoUI* info = m_pOwner->GetListInfo();
        const int font = info ? info->nFont : -1;
        const int height = info && info->nItemHeight > 0
                               ? info->nItemHeight
                               : (m_pManager ? m_pManager->GetFontMetrics(font).height() : 16) + 12;
        size.setHeight(height);
    }
    return size;
}

void CListContainerElementUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pOwner && m_pOwner->GetOwnerControl())
            m_pOwner->GetOwnerControl()->DoEvent(event);
        else
            CHorizontalLayoutUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_DBLCLICK:
        if (IsEnabled()) {
            Activate();
            Invalidate();
        }
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
            Invalidate();
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
    CHorizontalLayoutUI::DoEvent(event);
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
    if (m_sText.isEmpty())
        return;
    const TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    const std::uint32_t color = ListItemTextColor(m_pManager, info, m_bSelected, m_bHot, IsEnabled());
    const QMargins padding = info ? info->rcTextPadding : QMargins(8, 0, 8, 0);
    CRenderEngine::DrawText(painter, m_pManager, rect.marginsRemoved(padding), m_sText, color,
                            info ? info->nFont : -1, info ? info->uTextStyle : DT_VCENTER | DT_SINGLELINE);
}

} // namespace UiLib
