#include "controls/CDispatchEventButtonUI.h"

#include "uilib/CContainerUI.h"
#include "uilib/CPaintManagerUI.h"

namespace ravelo {

using namespace UiLib;

void DispatchClickEvent(CButtonUI& control, CButtonState& state, TEventUI& event,
                        const std::function<void()>& onRelease,
                        const std::function<void(TEventUI&)>& fallback)
{
    CControlUI* parent = control.GetParent();
    if (!control.IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (parent)
            parent->DoEvent(event);
        else
            fallback(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        fallback(event); // repaints with the focus state
        return;
    case UIEVENT_BUTTONUP:
        // The parent hears of the click while the button still shows pushed; the state ends after.
        if (state.IsCaptured() && control.GetPos().contains(event.ptMouse)) {
            onRelease();
            if (auto* container = ControlAs<CContainerUI>(parent))
                container->RecvMessage(&control, 0, 0);
        }
        state.HandlePointer(control, event);
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
        state.HandlePointer(control, event);
        return;
    case UIEVENT_SETCURSOR:
        if (control.GetManager())
            control.GetManager()->SetCursor(Qt::PointingHandCursor);
        return;
    default:
        fallback(event);
        return;
    }
}

QString CDispatchEventButtonUI::GetClass() const
{
    return QStringLiteral("DispatchEventButtonUI");
}

void* CDispatchEventButtonUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CButtonUI::GetInterface(name);
}

void CDispatchEventButtonUI::DoEvent(TEventUI& event)
{
    DispatchClickEvent(
        *this, m_state, event, [] {}, [this](TEventUI& e) { CLabelUI::DoEvent(e); });
}

} // namespace ravelo
