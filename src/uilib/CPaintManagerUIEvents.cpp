#include "uilib/CPaintManagerUI.h"

#include "uilib/CControlUI.h"
#include "uilib/DispatchScope.h"

#include <QDateTime>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>

// The paint manager's input side: the host widget's events become control events.
namespace UiLib {

void CPaintManagerUI::SendEvent(CControlUI* control, int type, QPoint point, Qt::KeyboardModifiers modifiers,
                                WPARAM wParam, LPARAM lParam, int key)
{
    if (!control)
        return;
    TEventUI event;
    event.Type = type;
    event.pSender = control;
    event.dwTimestamp = static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
    event.ptMouse = point;
    event.wKeyState = modifiers;
    event.wParam = wParam;
    event.lParam = lParam;
    event.chKey = key;
    control->Event(event);
}

void CPaintManagerUI::UpdateHover(QPoint point, Qt::KeyboardModifiers modifiers)
{
    CControlUI* hover = FindControl(point);
    if (hover == m_pEventHover)
        return;
    CControlUI* old = m_pEventHover;
    m_pEventHover = hover;
    if (old)
        SendEvent(old, UIEVENT_MOUSELEAVE, point, modifiers);
    if (hover && m_pEventHover == hover)
        SendEvent(hover, UIEVENT_MOUSEENTER, point, modifiers);
    if (m_pEventHover)
        SendEvent(m_pEventHover, UIEVENT_SETCURSOR, point, modifiers);
    else
        SetCursor(Qt::ArrowCursor);
}

bool CPaintManagerUI::HandleEvent(QEvent* event)
{
    bool consumed = false;
    {
        DispatchScope scope(m_nDispatchDepth);
        switch (event->type()) {
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint pt = me->position().toPoint();
            if (!m_pEventClick)
                UpdateHover(pt, me->modifiers());
            if (CControlUI* target = m_pEventClick ? m_pEventClick : m_pEventHover)
                SendEvent(target, UIEVENT_MOUSEMOVE, pt, me->modifiers());
            consumed = true;
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint pt = me->position().toPoint();
            UpdateHover(pt, me->modifiers());
            CControlUI* control = FindControl(pt);
            if (!control)
                break;
            if (me->button() == Qt::LeftButton) {
                m_pEventClick = control;
                control->SetFocus();
                if (m_pEventClick == control)
                    SendEvent(control,
                              event->type() == QEvent::MouseButtonDblClick ? UIEVENT_DBLCLICK
                                                                           : UIEVENT_BUTTONDOWN,
                              pt, me->modifiers());
            } else if (me->button() == Qt::RightButton) {
                m_pEventRClick = control;
                control->SetFocus();
                if (m_pEventRClick == control)
                    SendEvent(control, UIEVENT_RBUTTONDOWN, pt, me->modifiers());
            }
            consumed = true;
            break;
        }
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint pt = me->position().toPoint();
            if (me->button() == Qt::LeftButton && m_pEventClick) {
                CControlUI* control = m_pEventClick;
                m_pEventClick = nullptr;
                SendEvent(control, UIEVENT_BUTTONUP, pt, me->modifiers());
                consumed = true;
            } else if (me->button() == Qt::RightButton && m_pEventRClick) {
                CControlUI* control = m_pEventRClick;
                m_pEventRClick = nullptr;
                if (control->GetPos().contains(pt))
                    SendEvent(control, UIEVENT_CONTEXTMENU, pt, me->modifiers(), 0, 0);
                consumed = true;
            }
            if (m_pHost && m_pHost->rect().contains(pt))
                UpdateHover(pt, me->modifiers());
            break;
        }
        case QEvent::Wheel: {
            auto* we = static_cast<QWheelEvent*>(event);
            const QPoint pt = we->position().toPoint();
            const int delta = we->angleDelta().y();
            CControlUI* control = FindControl(pt);
            if (!control || delta == 0)
                break;
            const int steps = qMax(1, qAbs(delta) / 120);
            for (int i = 0; i < steps; ++i)
                SendEvent(control, UIEVENT_SCROLLWHEEL, pt, we->modifiers(),
                          delta > 0 ? SB_LINEUP : SB_LINEDOWN, delta);
            consumed = true;
            break;
        }
        case QEvent::Leave:
            if (!m_pEventClick && m_pEventHover) {
                CControlUI* old = m_pEventHover;
                m_pEventHover = nullptr;
                SendEvent(old, UIEVENT_MOUSELEAVE, QPoint(-1, -1), Qt::NoModifier);
            }
            break;
        case QEvent::KeyPress: {
            auto* ke = static_cast<QKeyEvent*>(event);
            if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) &&
                !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                consumed = SetNextTabControl(ke->key() == Qt::Key_Tab);
                break;
            }
            if (m_pFocus) {
                SendEvent(m_pFocus, UIEVENT_KEYDOWN, QPoint(), ke->modifiers(), 0, 0, ke->key());
                if (m_pFocus && !ke->text().isEmpty() && ke->text()[0].isPrint())
                    SendEvent(m_pFocus, UIEVENT_CHAR, QPoint(), ke->modifiers(), 0, 0,
                              ke->text()[0].unicode());
                consumed = true;
            }
            break;
        }
        case QEvent::KeyRelease: {
            auto* ke = static_cast<QKeyEvent*>(event);
            if (m_pFocus) {
                SendEvent(m_pFocus, UIEVENT_KEYUP, QPoint(), ke->modifiers(), 0, 0, ke->key());
                consumed = true;
            }
            break;
        }
        case QEvent::Timer: {
            if (const auto timer = m_timers.Find(static_cast<QTimerEvent*>(event)->timerId())) {
                SendEvent(timer->control, UIEVENT_TIMER, QPoint(), Qt::NoModifier, timer->id);
                consumed = true;
            }
            break;
        }
        case QEvent::ToolTip: {
            auto* he = static_cast<QHelpEvent*>(event);
            CControlUI* control = FindControl(he->pos());
            if (control && !control->GetToolTip().isEmpty())
                QToolTip::showText(he->globalPos(), control->GetToolTip(), m_pHost, control->GetPos());
            else
                QToolTip::hideText();
            consumed = true;
            break;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
            consumed = m_dropTarget.HandleEvent(event);
            break;
        case QEvent::LayoutRequest:
            m_bLayoutRequested = false;
            UpdateLayout();
            consumed = true;
            break;
        case QEvent::Resize:
            UpdateLayout();
            break;
        default:
            break;
        }
    }
    if (m_nDispatchDepth == 0 && !m_delayedCleanup.empty())
        FlushDelayedCleanup();
    return consumed;
}

} // namespace UiLib
