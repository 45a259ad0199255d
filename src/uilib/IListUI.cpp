#include "uilib/IListUI.h"

#include "uilib/CControlUI.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

#include <QPainter>

namespace UiLib {

bool TListInfoUI::SetAttribute(const QString& name, const QString& value)
{
    if (!name.startsWith(QLatin1String("item")))
        return false;
    const QString key = name.mid(4);
    if (key == QLatin1String("font"))
        nFont = Parse::Int(value, -1);
    else if (key == QLatin1String("align")) {
        uTextStyle &= ~(DT_CENTER | DT_RIGHT);
        if (value.contains(QLatin1String("center")))
            uTextStyle |= DT_CENTER;
        else if (value.contains(QLatin1String("right")))
            uTextStyle |= DT_RIGHT;
    } else if (key == QLatin1String("endellipsis")) {
        if (Parse::Bool(value))
            uTextStyle |= DT_END_ELLIPSIS;
        else
            uTextStyle &= ~DT_END_ELLIPSIS;
    } else if (key == QLatin1String("textpadding"))
        rcTextPadding = Parse::Margins(value);
    else if (key == QLatin1String("height"))
        nItemHeight = Parse::Int(value);
    else if (key == QLatin1String("textcolor"))
        dwTextColor = Parse::Color(value);
    else if (key == QLatin1String("bkcolor"))
        dwBkColor = Parse::Color(value);
    else if (key == QLatin1String("selectedtextcolor"))
        dwSelectedTextColor = Parse::Color(value);
    else if (key == QLatin1String("selectedbkcolor"))
        dwSelectedBkColor = Parse::Color(value);
    else if (key == QLatin1String("hottextcolor"))
        dwHotTextColor = Parse::Color(value);
    else if (key == QLatin1String("hotbkcolor"))
        dwHotBkColor = Parse::Color(value);
    else if (key == QLatin1String("disabledtextcolor"))
        dwDisabledTextColor = Parse::Color(value);
    else if (key == QLatin1String("disabledbkcolor"))
        dwDisabledBkColor = Parse::Color(value);
    else if (key == QLatin1String("linecolor"))
        dwLineColor = Parse::Color(value);
    else if (key == QLatin1String("bkimage"))
        sBkImage = value;
    else if (key == QLatin1String("selectedimage"))
        sSelectedImage = value;
    else if (key == QLatin1String("hotimage"))
        sHotImage = value;
    else if (key == QLatin1String("disabledimage"))
        sDisabledImage = value;
    else if (key == QLatin1String("showhtml"))
        bShowHtml = Parse::Bool(value);
    else
        return false;
    return true;
}

void DrawListItemBackground(QPainter& painter, CPaintManagerUI* manager, const TListInfoUI* info,
                            const QRect& item, const QRect& paint, bool selected, bool hot, bool enabled)
{
    if (!info)
        return;
    std::uint32_t color = info->dwBkColor;
    const QString* image = &info->sBkImage;
    if (!enabled) {
        if (info->dwDisabledBkColor)
            color = info->dwDisabledBkColor;
        if (!info->sDisabledImage.isEmpty())
            image = &info->sDisabledImage;
    } else if (selected) {
        if (info->dwSelectedBkColor)
            color = info->dwSelectedBkColor;
        if (!info->sSelectedImage.isEmpty())
            image = &info->sSelectedImage;
    } else if (hot) {
        if (info->dwHotBkColor)
            color = info->dwHotBkColor;
        if (!info->sHotImage.isEmpty())
            image = &info->sHotImage;
    }
    CRenderEngine::DrawColor(painter, item, color);
    if (!image->isEmpty())
        CRenderEngine::DrawImageString(painter, manager, item, paint, *image);
    if ((info->dwLineColor >> 24) != 0)
        painter.fillRect(QRect(item.left(), item.top() + item.height() - 1, item.width(), 1),
                         QColor::fromRgba(info->dwLineColor));
}

std::uint32_t ListItemTextColor(CPaintManagerUI* manager, const TListInfoUI* info, bool selected, bool hot,
                                bool enabled)
{
    std::uint32_t color = info ? info->dwTextColor : 0;
    if (info) {
        if (!enabled && info->dwDisabledTextColor)
            color = info->dwDisabledTextColor;
        else if (enabled && selected && info->dwSelectedTextColor)
            color = info->dwSelectedTextColor;
        else if (enabled && hot && info->dwHotTextColor)
            color = info->dwHotTextColor;
    }
    if (!color)
        color = manager ? (enabled ? manager->GetDefaultFontColor() : manager->GetDefaultDisabledColor())
                        : 0xFF1F2430;
    return color;
}

void DrawListItemText(QPainter& painter, CControlUI& item, IListItemUI& listItem, const QRect& rect,
                      const QString& text)
{
    if (text.isEmpty())
        return;
    CPaintManagerUI* manager = item.GetManager();
    const TListInfoUI* info = listItem.GetOwner() ? listItem.GetOwner()->GetListInfo() : nullptr;
    const std::uint32_t color =
        ListItemTextColor(manager, info, listItem.IsSelected(), listItem.IsHot(), item.IsEnabled());
    const QMargins padding = info ? info->rcTextPadding : QMargins(8, 0, 8, 0);
    CRenderEngine::DrawText(painter, manager, rect.marginsRemoved(padding), text, color,
                            info ? info->nFont : -1, info ? info->uTextStyle : DT_VCENTER | DT_SINGLELINE);
}

int DefaultListItemHeight(CControlUI& item, IListItemUI& listItem)
{
    const TListInfoUI* info = listItem.GetOwner() ? listItem.GetOwner()->GetListInfo() : nullptr;
    if (info && info->nItemHeight > 0)
        return info->nItemHeight;
    CPaintManagerUI* manager = item.GetManager();
    return (manager ? manager->GetFontMetrics(info ? info->nFont : -1).height() : 16) + 12;
}

bool HandleListItemEvent(CControlUI& item, IListItemUI& listItem, TEventUI& event)
{
    IListOwnerUI* owner = listItem.GetOwner();
    switch (event.Type) {
    case UIEVENT_DBLCLICK:
        if (item.IsEnabled()) {
            item.Activate();
            item.Invalidate();
        }
        return true;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
        if (item.IsEnabled()) {
            if (CPaintManagerUI* manager = item.GetManager())
                manager->SendNotify(&item, DUI_MSGTYPE_ITEMCLICK);
            if (owner) {
                if (owner->IsMultiSelect() && (event.wKeyState & Qt::ControlModifier)) {
                    if (listItem.IsSelected())
                        owner->UnSelectItem(listItem.GetIndex());
                    else
                        owner->SelectMultiItem(listItem.GetIndex(), true);
                } else {
                    owner->SelectItem(listItem.GetIndex(), true);
                }
            }
            item.Invalidate();
        }
        return true;
    case UIEVENT_BUTTONUP:
        return true;
    case UIEVENT_MOUSEENTER:
        if (item.IsEnabled())
            listItem.SetHot(true);
        return true;
    case UIEVENT_MOUSELEAVE:
        listItem.SetHot(false);
        return true;
    case UIEVENT_KEYDOWN:
    case UIEVENT_SCROLLWHEEL:
        if (owner && owner->GetOwnerControl()) {
            owner->GetOwnerControl()->DoEvent(event);
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace UiLib
