#include "uilib/WindowImplBase.h"

#include "uilib/CControlUI.h"
#include "uilib/CDialogBuilder.h"
#include "uilib/WindowShadow.h"

#include "platform/DebugOutput.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <QWindow>

namespace UiLib {

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase()
{
    // Destroy the widget while the paint manager still exists.
    if (QWidget* widget = GetWidget())
        delete widget;
}

void WindowImplBase::Notify(TNotifyUI& msg)
{
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender)
        return;
    const QString name = msg.pSender->GetName();
    if (name == QLatin1String("closebtn"))
        Close(IDCANCEL);
    else if (name == QLatin1String("minbtn"))
        Minimize();
    else if (name == QLatin1String("maxbtn"))
        Maximize();
    else if (name == QLatin1String("restorebtn"))
        Restore();
}

CControlUI* WindowImplBase::CreateControl(const QString&)
{
    return nullptr;
}

bool WindowImplBase::OnCreate()
{
    QWidget* host = GetWidget();
    m_PaintManager.Init(host);
    CDialogBuilder builder;
    const QString xml = GetSkinXml();
    CControlUI* root = xml.isEmpty() ? builder.Create(GetSkinFile(), this, &m_PaintManager)
                                     : builder.CreateFromText(xml, this, &m_PaintManager);
    if (!root) {
        ravelo::DebugOutput("window: layout " + GetSkinFile().toStdString() +
                            " failed: " + builder.GetLastError().toStdString());
        return false;
    }
    m_PaintManager.AttachDialog(root);
    m_PaintManager.AddNotifier(this);

    const QSize minimum = m_PaintManager.GetMinInfo();
    const QSize maximum = m_PaintManager.GetMaxInfo();
    const bool topLevel = host->isWindow();
    m_nShadow = topLevel && m_PaintManager.IsShowShadow() && WindowShadow::IsSupported()
                    ? m_PaintManager.GetShadowSize()
                    : 0;
    if (m_nShadow > 0)
        host->setAttribute(Qt::WA_TranslucentBackground);
    const QSize frame(2 * m_nShadow, 2 * m_nShadow);
    if (topLevel && !minimum.isEmpty())
        host->setMinimumSize(minimum + frame);
    if (topLevel && maximum.width() > 0 && maximum.height() > 0)
        host->setMaximumSize(maximum + frame);
    UpdateShadowMargins();
    if (!host->testAttribute(Qt::WA_Resized)) {
        // No size from the creator: the layout's, plus the shadow around it.
        QSize size = m_PaintManager.GetInitSize();
        if (size.isEmpty())
            size = QSize(400, 300);
        host->resize(size + frame);
    }
    InitWindow();
    return true;
}

void WindowImplBase::UpdateShadowMargins()
{
    QWidget* host = GetWidget();
    const int margin = (host && (host->isMaximized() || host->isFullScreen())) ? 0 : m_nShadow;
    m_PaintManager.SetClientMargins(QMargins(margin, margin, margin, margin));
}

void WindowImplBase::OnHostDetached()
{
    m_PaintManager.Detach();
}

void WindowImplBase::OnHostPaint(QPainter& painter, const QRect& rect)
{
    const QRect client = m_PaintManager.GetClientRect();
    const QSize round = m_PaintManager.GetRoundCorner();
    if (m_nShadow > 0) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (client != GetWidget()->rect())
            WindowShadow::Paint(painter, client, m_nShadow, round, m_PaintManager.GetShadowColor());
        if (!round.isEmpty()) {
            QPainterPath path;
            path.addRoundedRect(QRectF(client), round.width() / 2.0, round.height() / 2.0);
            painter.setClipPath(path);
        } else {
            painter.setClipRect(client);
        }
    }
    m_PaintManager.Paint(painter, rect);
}

Qt::Edges WindowImplBase::SizeBoxEdges(QPoint point) const
{
    QWidget* host = GetWidget();
    if (!host || !host->isWindow() || host->isMaximized() || host->isFullScreen())
        return {};
    const QMargins box = m_PaintManager.GetSizeBox();
    if (box.isNull())
        return {};
    const QRect client = m_PaintManager.GetClientRect();
    Qt::Edges edges;
    if (point.x() < client.left() + box.left())
        edges |= Qt::LeftEdge;
    else if (point.x() >= client.right() + 1 - box.right())
        edges |= Qt::RightEdge;
    if (point.y() < client.top() + box.top())
        edges |= Qt::TopEdge;
    else if (point.y() >= client.bottom() + 1 - box.bottom())
        edges |= Qt::BottomEdge;
    return edges;
}

bool WindowImplBase::InCaption(QPoint point) const
{
    const QMargins caption = m_PaintManager.GetCaptionRect();
    const QRect client = m_PaintManager.GetClientRect();
    const int x = point.x() - client.left();
    const int y = point.y() - client.top();
    return x >= caption.left() && x < client.width() - caption.right() && y >= caption.top() &&
           y < caption.bottom();
}

bool WindowImplBase::HandleFrameMouse(QEvent* event)
{
    QWidget* host = GetWidget();
    if (!host || !host->isWindow())
        return false;
    auto* me = static_cast<QMouseEvent*>(event);
    const QPoint pt = me->position().toPoint();
    switch (event->type()) {
    case QEvent::MouseMove: {
        if (m_bManualMove && (me->buttons() & Qt::LeftButton)) {
            const QPoint delta = me->globalPosition().toPoint() - m_ptPressGlobal;
            if (!m_manualEdges) {
                host->move(m_rcPressGeometry.topLeft() + delta);
            } else {
                QRect g = m_rcPressGeometry;
                if (m_manualEdges & Qt::LeftEdge)
                    g.setLeft(qMin(g.left() + delta.x(), g.right() - host->minimumWidth() + 1));
                if (m_manualEdges & Qt::RightEdge)
                    g.setRight(g.right() + delta.x());
                if (m_manualEdges & Qt::TopEdge)
                    g.setTop(qMin(g.top() + delta.y(), g.bottom() - host->minimumHeight() + 1));
                if (m_manualEdges & Qt::BottomEdge)
                    g.setBottom(g.bottom() + delta.y());
                host->setGeometry(g);
            }
            return true;
        }
        if (me->buttons() != Qt::NoButton)
            return false;
        const Qt::Edges edges = SizeBoxEdges(pt);
        if (!edges)
            return false;
        const bool diagonalMain =
            (edges == (Qt::LeftEdge | Qt::TopEdge)) || (edges == (Qt::RightEdge | Qt::BottomEdge));
        const bool diagonalOther =
            (edges == (Qt::RightEdge | Qt::TopEdge)) || (edges == (Qt::LeftEdge | Qt::BottomEdge));
        m_PaintManager.SetCursor(diagonalMain                               ? Qt::SizeFDiagCursor
                                 : diagonalOther                            ? Qt::SizeBDiagCursor
                                 : (edges & (Qt::LeftEdge | Qt::RightEdge)) ? Qt::SizeHorCursor
                                                                            : Qt::SizeVerCursor);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (me->button() != Qt::LeftButton)
            return false;
        const Qt::Edges edges = SizeBoxEdges(pt);
        const CControlUI* under = m_PaintManager.FindControl(pt);
        const bool caption = !edges && InCaption(pt) && !(under && under->TakesCaptionInput());
        if (!edges && !caption)
            return false;
        if (caption && event->type() == QEvent::MouseButtonDblClick) {
            if (!m_PaintManager.GetSizeBox().isNull()) {
                if (host->isMaximized())
                    Restore();
                else
                    Maximize();
            }
            return true;
        }
        QWindow* window = host->windowHandle();
        const bool system = window && (edges ? window->startSystemResize(edges) : window->startSystemMove());
        m_bManualMove = !system;
        m_manualEdges = edges;
        m_ptPressGlobal = me->globalPosition().toPoint();
        m_rcPressGeometry = host->geometry();
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_bManualMove && me->button() == Qt::LeftButton) {
            m_bManualMove = false;
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool WindowImplBase::OnHostEvent(QEvent* event)
{
    if (CWindowWnd::OnHostEvent(event))
        return true;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        if (HandleFrameMouse(event))
            return true;
        break;
    case QEvent::WindowStateChange:
        UpdateShadowMargins();
        break;
    case QEvent::Show:
        if (!m_bWindowInitSent) {
            m_bWindowInitSent = true;
            // After the show completes, so that the handler may open dialogs of its own.
            m_PaintManager.SendNotify(m_PaintManager.GetRoot(), DUI_MSGTYPE_WINDOWINIT, 0, 0, true);
        }
        break;
    default:
        break;
    }
    return m_PaintManager.HandleEvent(event);
}

} // namespace UiLib
