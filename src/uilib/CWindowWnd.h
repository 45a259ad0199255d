#pragma once

#include "uilib/ScreenPlacement.h"
#include "uilib/UiDefines.h"
#include "uilib/WinDefines.h"
#include "uilib/WindowHost.h"

#include "platform/Messages.h"

#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>

class QEvent;
class QIcon;
class QPainter;
class QWidget;

namespace UiLib {

/// A window addressed by a handle. It registers itself as a message receiver, so any thread may
/// post to it (ravelo::PostMessage); posted messages reach HandleMessage on the UI thread, in order.
/// HandleMessage sees every message first (posted and sent ones, and the window's own WM_CLOSE,
/// WM_SYSCOMMAND, WM_KEYDOWN, mouse, WM_SIZE, WM_SHOWWINDOW, WM_ACTIVATE, WM_CREATE and
/// WM_DESTROY); what it leaves unhandled gets the library's default. The object belongs to its
/// creator; the window itself (its widget) lives from Create until Close, after which
/// OnFinalMessage runs as the final hook (it may delete the object). Everything but posting runs
/// on the UI thread.
class CWindowWnd
{
public:
    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    /// The handle to post to; 0 before Create and after the window was destroyed.
    ravelo::WindowHandle GetHWND() const { return m_hWnd; }
    QWidget* GetWidget() const;
    /// The handle of the window this one lives in or belongs to, or 0. UI thread only.
    ravelo::WindowHandle GetParentHWND() const;
    /// The living window with this handle, or null. UI thread only.
    static CWindowWnd* FromHandle(ravelo::WindowHandle handle);
    /// The window's class name ("RaveloMainFrame"), for tools and tests that look for a window.
    QString ClassName() const { return GetWindowClassName(); }

    /// Creates the window: WS_CHILD embeds it in the parent window, anything else makes a top-level
    /// window owned by parent (0: none). CW_USEDEFAULT leaves position or size to the window.
    /// Returns the handle, or 0 when the window could not be built (it is then gone again).
    ravelo::WindowHandle Create(ravelo::WindowHandle parent, const QString& name, std::uint32_t style,
                                std::uint32_t exStyle, int x = CW_USEDEFAULT, int y = CW_USEDEFAULT,
                                int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT);
    ravelo::WindowHandle Create(ravelo::WindowHandle parent, const QString& name, std::uint32_t style,
                                std::uint32_t exStyle, const QRect& rect);
    void ShowWindow(bool show = true, bool takeFocus = true);
    /// Shows the window modally (its owner stops taking input) and runs an event loop until the
    /// window is destroyed; returns the code given to Close (-1 when there is no window).
    int ShowModal();
    /// Shows the window and runs its own event loop until it closes, like ShowModal, but blocks no
    /// other window: for a program's main window, whose tray icon and stay-on-top companions must
    /// keep taking input while it is open.
    int RunUntilClosed();
    /// Asks the window to close with a code: WM_CLOSE goes through HandleMessage (which may keep the
    /// window open by handling it); otherwise the window hides at once and is destroyed as soon as
    /// none of its events is running.
    void Close(int code = IDOK);
    void CenterWindow();
    /// Moves a top-level window to the right edge of its screen's available area (vertically centred
    /// or in the bottom-right corner), margin pixels in from the edges.
    void PlaceAtScreenRightEdge(RightEdgeAnchor anchor = RightEdgeAnchor::Centre, int margin = 0);
    /// Shows a top-level window without taking the focus from the window the user works in: it
    /// becomes a tool window that stays on top, has no taskbar entry and never takes the keyboard
    /// (a notice or a small panel). Where the platform activates it regardless, the focus goes straight
    /// back. WS_EX_NOACTIVATE at Create makes a window that shows this way.
    void ShowNoActivate();
    void ResizeClient(int cx, int cy);
    void SetIcon(const QIcon& icon);
    void Minimize();
    void Maximize();
    void Restore();
    bool IsMinimized() const;
    bool IsMaximized() const;
    bool IsWindowVisible() const;
    /// Brings the window to the front and gives it the keyboard.
    void Activate();

    /// Handles a message now and returns the handler's result.
    LRESULT SendMessage(std::uint32_t id, WPARAM wParam = 0,
                        std::unique_ptr<ravelo::MessagePayload> payload = nullptr);
    bool PostMessage(std::uint32_t id, WPARAM wParam = 0,
                     std::unique_ptr<ravelo::MessagePayload> payload = nullptr);

    /// Destroys the windows whose close waited for their events to end. Called by the library.
    static void ProcessPendingDestroys();

protected:
    virtual QString GetWindowClassName() const = 0;
    /// The window's own look at every message; set handled to keep the library out of it.
    virtual LRESULT HandleMessage(ravelo::Message& message, bool& handled);
    /// The library's handling of what HandleMessage left.
    virtual LRESULT DefWindowProc(ravelo::Message& message);
    /// Builds the window's content once its widget exists (WM_CREATE); false fails Create.
    virtual bool OnCreate();
    /// Final hook, after the window was destroyed. The object may delete itself here.
    virtual void OnFinalMessage(ravelo::WindowHandle handle);
    /// Input and window events of the widget after the message step; true when consumed.
    virtual bool OnHostEvent(QEvent* event);
    virtual void OnHostPaint(QPainter& painter, const QRect& rect);
    /// The widget is going away (after WM_DESTROY); the window drops what refers to it.
    virtual void OnHostDetached();
    /// True while the window's content is dispatching an event or notification.
    virtual bool IsDispatching() const { return false; }
    /// Extra Qt window flags for top-level windows (a menu asks for a pop-up).
    virtual Qt::WindowFlags ExtraWindowFlags() const { return {}; }
    /// Skinned windows draw their own frame.
    virtual bool IsFrameless() const { return !(m_dwStyle & WS_CAPTION); }

    /// Runs a message through HandleMessage and the default handling.
    LRESULT Dispatch(ravelo::Message& message);
    std::uint32_t GetStyle() const { return m_dwStyle; }

private:
    int RunLoop(bool blockOthers);
    friend class WindowHost;
    class Receiver;
    struct ModalState;

    void OnHostDestroyed(WindowHost* host);
    /// Remembers the window the user works in, to give the focus back should the platform activate
    /// this one anyway.
    void BeginNoActivate();
    bool IsBusy() const;
    void DestroyNow();
    bool TranslateEvent(QEvent* event);

    QPointer<WindowHost> m_pHost;
    QPointer<QWidget> m_pActiveBeforeShow;
    ravelo::WindowHandle m_hWnd = 0;
    std::unique_ptr<Receiver> m_pReceiver;
    std::weak_ptr<ModalState> m_modal;
    std::uint32_t m_dwStyle = 0;
    std::uint32_t m_dwExStyle = 0;
    int m_nCloseCode = IDCANCEL;
    bool m_bClosing = false;
    bool m_bCreating = false;
    bool m_bInDestructor = false;
    bool m_bNoActivate = false;
};

/// Handles a message in the window with this handle now and returns its result. UI thread only:
/// from another thread (or for a handle without a living window) nothing happens and 0 comes back.
LRESULT SendMessage(ravelo::WindowHandle handle, std::uint32_t id, WPARAM wParam = 0,
                    std::unique_ptr<ravelo::MessagePayload> payload = nullptr);

} // namespace UiLib
