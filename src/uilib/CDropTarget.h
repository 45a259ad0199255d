#pragma once

#include <string>
#include <vector>

class QEvent;
class QMimeData;
class QPoint;

namespace UiLib {

class CControlUI;
class CPaintManagerUI;

/// Files dragged from the file manager over a window. The control under the pointer that accepts
/// drops (itself or the nearest container above it) is the target: it gets "dragenter" when the
/// files come over it and "dragleave" when they leave it, are dropped or the drag ends, and on a drop
/// "dropfiles" with the local paths in TNotifyUI::vFiles (UTF-8; wParam: their count). Anything
/// that is not a local file (web addresses, text) is left out; a drag without a local file is
/// refused and sends nothing. The files are only ever copied or linked, never moved: the file
/// manager keeps them. UI thread only.
class CDropTarget
{
public:
    explicit CDropTarget(CPaintManagerUI& manager) : m_manager(manager) {}

    /// Handles the host's DragEnter, DragMove, DragLeave and Drop events, accepting or refusing
    /// them; false for any other event.
    bool HandleEvent(QEvent* event);
    /// The control the files are over now, or null.
    CControlUI* GetTarget() const { return m_pTarget; }
    /// Forgets a control that leaves the window.
    void Forget(CControlUI* control);

    /// The local files among dragged data, as UTF-8 paths in their order.
    static std::vector<std::string> LocalFiles(const QMimeData* data);

private:
    CControlUI* FindTarget(QPoint point) const;
    void SetTarget(CControlUI* target);

    CPaintManagerUI& m_manager;
    CControlUI* m_pTarget = nullptr;
};

} // namespace UiLib
