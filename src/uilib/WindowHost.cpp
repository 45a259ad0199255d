#include "uilib/WindowHost.h"

#include "uilib/CWindowWnd.h"

#include <QPaintEvent>
#include <QPainter>

namespace UiLib {

WindowHost::WindowHost(CWindowWnd* owner, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_owner(owner)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover, false);
}

WindowHost::~WindowHost()
{
    if (CWindowWnd* owner = m_owner) {
        m_owner = nullptr;
        owner->OnHostDestroyed(this);
    }
}

bool WindowHost::event(QEvent* event)
{
    if (!m_owner)
        return QWidget::event(event);
    ++m_depth;
    const bool consumed = m_owner->OnHostEvent(event);
    const bool result = consumed || QWidget::event(event);
    --m_depth;
    if (m_depth == 0)
        CWindowWnd::ProcessPendingDestroys();
    return result;
}

void WindowHost::paintEvent(QPaintEvent* event)
{
    if (!m_owner)
        return;
    QPainter painter(this);
    m_owner->OnHostPaint(painter, event->rect());
}

} // namespace UiLib
