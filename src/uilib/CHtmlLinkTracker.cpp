#include "uilib/CHtmlLinkTracker.h"

#include "uilib/CControlUI.h"
#include "uilib/CHtmlText.h"
#include "uilib/CPaintManagerUI.h"

namespace UiLib {

void CHtmlLinkTracker::Reset()
{
    m_hover = -1;
    m_pressed = -1;
}

bool CHtmlLinkTracker::HandleEvent(CControlUI& control, const CHtmlText& html, TEventUI& event)
{
    CPaintManagerUI* manager = control.GetManager();
    switch (event.Type) {
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_MOUSEENTER: {
        const int link = html.LinkAt(event.ptMouse);
        if (link != m_hover) {
            m_hover = link;
            control.Invalidate();
        }
        if (manager)
            manager->SetCursor(link >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return true;
    }
    case UIEVENT_MOUSELEAVE:
        if (m_hover >= 0) {
            m_hover = -1;
            control.Invalidate();
        }
        return true;
    case UIEVENT_SETCURSOR:
        if (manager)
            manager->SetCursor(html.LinkAt(event.ptMouse) >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return true;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        m_pressed = html.LinkAt(event.ptMouse);
        return m_pressed >= 0;
    case UIEVENT_BUTTONUP: {
        const int pressed = m_pressed;
        m_pressed = -1;
        if (pressed < 0)
            return false;
        if (html.LinkAt(event.ptMouse) == pressed && manager)
            manager->SendNotify(&control, DUI_MSGTYPE_LINK, static_cast<WPARAM>(pressed));
        return true;
    }
    default:
        return false;
    }
}

} // namespace UiLib
