#include "uilib/CDropTarget.h"

#include "uilib/CControlUI.h"
#include "uilib/CPaintManagerUI.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace UiLib {

namespace {

/// Copy when the source offers it, else a link; never a move, which would let the source delete
/// the files once we took them.
Qt::DropAction SafeAction(Qt::DropActions offered)
{
    if (offered & Qt::CopyAction)
        return Qt::CopyAction;
    if (offered & Qt::LinkAction)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

} // namespace

std::vector<std::string> CDropTarget::LocalFiles(const QMimeData* data)
{
    std::vector<std::string> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (!path.isEmpty())
            files.push_back(path.toStdString());
    }
    return files;
}

CControlUI* CDropTarget::FindTarget(QPoint point) const
{
    for (CControlUI* control = m_manager.FindControl(point); control; control = control->GetParent()) {
        if (control->IsAcceptDrop())
            return control->IsVisible() && control->IsEnabled() ? control : nullptr;
    }
    return nullptr;
}

void CDropTarget::SetTarget(CControlUI* target)
{
    if (target == m_pTarget)
        return;
    CControlUI* old = m_pTarget;
    m_pTarget = target;
    if (old) {
        old->SetDragOver(false);
        m_manager.SendNotify(old, DUI_MSGTYPE_DRAGLEAVE);
    }
    if (target && m_pTarget == target) {
        target->SetDragOver(true);
        m_manager.SendNotify(target, DUI_MSGTYPE_DRAGENTER);
    }
}

void CDropTarget::Forget(CControlUI* control)
{
    if (control == m_pTarget)
        m_pTarget = nullptr;
}

bool CDropTarget::HandleEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const Qt::DropAction action = SafeAction(drag->possibleActions());
        if (action == Qt::IgnoreAction || LocalFiles(drag->mimeData()).empty()) {
            SetTarget(nullptr);
            drag->ignore();
            return true;
        }
        // Entering is accepted anywhere, so that the moves that follow arrive; a move is accepted
        // only over a control that takes files.
        const QPoint point = drag->position().toPoint();
        SetTarget(FindTarget(point));
        drag->setDropAction(action);
        if (m_pTarget || event->type() == QEvent::DragEnter)
            drag->accept();
        else
            drag->ignore();
        return true;
    }
    case QEvent::DragLeave:
        SetTarget(nullptr);
        event->accept();
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const Qt::DropAction action = SafeAction(drop->possibleActions());
        const std::vector<std::string> files = LocalFiles(drop->mimeData());
        // The highlight goes first; the target is looked up after, as its handler may have changed
        // the page.
        SetTarget(nullptr);
        CControlUI* target = FindTarget(drop->position().toPoint());
        if (!target || files.empty() || action == Qt::IgnoreAction) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(action);
        drop->accept();
        TNotifyUI msg;
        msg.sType = DUI_MSGTYPE_DROPFILES;
        msg.pSender = target;
        msg.ptMouse = drop->position().toPoint();
        msg.wParam = static_cast<WPARAM>(files.size());
        msg.vFiles = files;
        m_manager.SendNotify(msg);
        return true;
    }
    default:
        return false;
    }
}

} // namespace UiLib
