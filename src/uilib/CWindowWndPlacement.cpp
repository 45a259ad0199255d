#include "uilib/CWindowWnd.h"

#include "uilib/WindowHost.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

// Where a top-level window goes on the screen, and showing one that must not take the focus.
namespace UiLib {

void CWindowWnd::CenterWindow()
{
    if (!m_pHost || !m_pHost->isWindow())
        return;
    QRect area;
    QWidget* owner = m_pHost->parentWidget() ? m_pHost->parentWidget()->window() : nullptr;
    if (owner && owner->isVisible() && !owner->isMinimized())
        area = owner->frameGeometry();
    else if (QScreen* screen = m_pHost->screen() ? m_pHost->screen() : QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isEmpty())
        return;
    QRect frame = m_pHost->frameGeometry();
    frame.moveCenter(area.center());
    if (QScreen* screen = QGuiApplication::screenAt(area.center())) {
        const QRect available = screen->availableGeometry();
        frame.moveLeft(qBound(available.left(), frame.left(),
                              qMax(available.left(), available.right() - frame.width())));
        frame.moveTop(
            qBound(available.top(), frame.top(), qMax(available.top(), available.bottom() - frame.height())));
    }
    m_pHost->move(frame.topLeft());
}

void CWindowWnd::BeginNoActivate()
{
    m_bNoActivate = true;
    QWidget* active = QApplication::activeWindow();
    m_pActiveBeforeShow = active != m_pHost.data() ? active : nullptr;
}

void CWindowWnd::PlaceAtScreenRightEdge(RightEdgeAnchor anchor, int margin)
{
    if (!m_pHost || !m_pHost->isWindow())
        return;
    QScreen* screen = m_pHost->screen() ? m_pHost->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    m_pHost->move(
        RightEdgePosition(m_pHost->frameGeometry().size(), screen->availableGeometry(), anchor, margin));
}

void CWindowWnd::ShowNoActivate()
{
    if (!m_pHost || !m_pHost->isWindow())
        return;
    QWidget* host = m_pHost;
    Qt::WindowFlags wanted = Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
    if (IsFrameless())
        wanted |= Qt::FramelessWindowHint;
    if ((host->windowFlags() & wanted) != wanted) {
        // Changing the kind of a window hides it; it is shown again below without activation.
        host->setWindowFlags((host->windowFlags() & ~Qt::WindowType_Mask) | wanted);
    }
    host->setAttribute(Qt::WA_ShowWithoutActivating, true);
    BeginNoActivate();
    if (host->isMinimized())
        host->showNormal();
    else
        host->show();
}

} // namespace UiLib
