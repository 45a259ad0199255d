#include "controls/CDispatchEventButtonUI.h"

#include "uilib/CContainerUI.h"
#include "uilib/CPaintManagerUI.h"

namespace ravelo {

using namespace UiLib;

void DispatchClickEvent(CButtonUI& control, unsigned& buttonState, TEventUI& event,
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
    const QRect& item = control.GetPos();
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        fallback(event); // repaints with the focus state
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (item.contains(event.ptMouse) && control.IsEnabled()) {
            buttonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            control.Invalidate();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if (buttonState & UISTATE_CAPTURED) {
            if (item.contains(event.ptMouse))
                buttonState |= UISTATE_PUSHED;
            else
                buttonState &= ~UISTATE_PUSHED;
            control.Invalidate();
        }
        return;
    case UIEVENT_BUTTONUP:
        if (buttonState & UISTATE_CAPTURED) {
            if (item.contains(event.ptMouse)) {
                onRelease();
                if (auto* container = parent ? static_cast<CContainerUI*>(
                                                   parent->GetInterface(QStringLiteral("IContainer")))
                                             : nullptr)
                    container->RecvMessage(&control, 0, 0);
            }
            buttonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            control.Invalidate();
        }
        return;
    case UIEVENT_MOUSEENTER:
        if (control.IsEnabled()) {
            buttonState |= UISTATE_HOT;
            control.Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (control.IsEnabled()) {
            buttonState &= ~UISTATE_HOT;
            control.Invalidate();
        }
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
    return name == QLatin1String("CDispatchEventButtonUI") ? this : CButtonUI::GetInterface(name);
}

void CDispatchEventButtonUI::DoEvent(TEventUI& event)
{
    DispatchClickEvent(
        *this, m_uButtonState, event, [] {}, [this](TEventUI& e) { CLabelUI::DoEvent(e); });
}

} // namespace ravelo
