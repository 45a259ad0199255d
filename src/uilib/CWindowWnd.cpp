#include "uilib/CWindowWnd.h"

#include "uilib/MessageEvent.h"
#include "uilib/WindowHost.h"

#include "platform/DebugOutput.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHash>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace UiLib {

/// Hands posted messages to the UI thread. Deliver runs on the posting thread under the registry's
/// lock, which the window takes too before its widget goes away, so the target is always alive.
class CWindowWnd::Receiver final : public ravelo::MessageReceiver
{
public:
    explicit Receiver(QObject* target) : m_target(target) {}
    void Deliver(ravelo::Message message) override
    {
        QCoreApplication::postEvent(m_target, new MessageEvent(std::move(message)));
    }

private:
    QObject* m_target;
};

struct CWindowWnd::ModalState
{
    QEventLoop* loop = nullptr;
    int code = -1;
    bool done = false;
};

namespace {

QHash<ravelo::WindowHandle, CWindowWnd*>& Windows()
{
    static QHash<ravelo::WindowHandle, CWindowWnd*> windows;
    return windows;
}

std::vector<CWindowWnd*>& PendingDestroys()
{
    static std::vector<CWindowWnd*> pending;
    return pending;
}

bool& DestroyCheckScheduled()
{
    static bool scheduled = false;
    return scheduled;
}

bool OnUiThread()
{
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd()
{
    m_bInDestructor = true;
    auto& pending = PendingDestroys();
    pending.erase(std::remove(pending.begin(), pending.end(), this), pending.end());
    if (m_pHost)
        delete m_pHost.data();
}

QWidget* CWindowWnd::GetWidget() const
{
    return m_pHost.data();
}

ravelo::WindowHandle CWindowWnd::GetParentHWND() const
{
    for (QWidget* w = m_pHost ? m_pHost->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto* host = dynamic_cast<WindowHost*>(w); host && host->Owner())
            return host->Owner()->GetHWND();
    }
    return 0;
}

CWindowWnd* CWindowWnd::FromHandle(ravelo::WindowHandle handle)
{
    if (handle == 0 || !OnUiThread())
        return nullptr;
    return Windows().value(handle, nullptr);
}

ravelo::WindowHandle CWindowWnd::Create(ravelo::WindowHandle parent, const QString& name, std::uint32_t style,
                                        std::uint32_t exStyle, const QRect& rect)
{
    return Create(parent, name, style, exStyle, rect.x(), rect.y(), rect.width(), rect.height());
}

ravelo::WindowHandle CWindowWnd::Create(ravelo::WindowHandle parent, const QString& name, std::uint32_t style,
                                        std::uint32_t exStyle, int x, int y, int cx, int cy)
{
    if (m_pHost || !OnUiThread())
        return 0;
    CWindowWnd* owner = FromHandle(parent);
    QWidget* parentWidget = owner ? owner->GetWidget() : nullptr;
    const bool child = (style & WS_CHILD) != 0;
    if (child && !parentWidget) {
        ravelo::DebugOutput("window: a child window needs a living parent");
        return 0;
    }
    m_dwStyle = style;
    m_dwExStyle = exStyle;
    Qt::WindowFlags flags = Qt::Widget;
    if (!child) {
        const Qt::WindowFlags extra = ExtraWindowFlags();
        flags = extra ? extra : ((exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window);
        if (IsFrameless())
            flags |= Qt::FramelessWindowHint;
        if (exStyle & WS_EX_TOPMOST)
            flags |= Qt::WindowStaysOnTopHint;
        if (exStyle & WS_EX_NOACTIVATE)
            flags |= Qt::WindowDoesNotAcceptFocus;
    }
    auto* host = new WindowHost(this, parentWidget, flags);
    if (!child && (exStyle & WS_EX_NOACTIVATE)) {
        host->setAttribute(Qt::WA_ShowWithoutActivating, true);
        BeginNoActivate();
    }
    m_pHost = host;
    host->setWindowTitle(name);
    host->setObjectName(GetWindowClassName());
    m_pReceiver = std::make_unique<Receiver>(host);
    m_hWnd = ravelo::RegisterReceiver(m_pReceiver.get());
    Windows().insert(m_hWnd, this);
    m_bClosing = false;
    m_nCloseCode = IDCANCEL;

    if (cx != CW_USEDEFAULT && cy != CW_USEDEFAULT)
        host->resize(cx, cy);
    // A close asked for while the window is being built waits until Create is done with it.
    m_bCreating = true;
    ravelo::Message create{WM_CREATE, 0, nullptr};
    Dispatch(create);
    const bool built = !m_bClosing && OnCreate();
    m_bCreating = false;
    if (!built || m_bClosing) {
        if (!built && !m_bClosing)
            ravelo::DebugOutput("window: " + GetWindowClassName().toStdString() + " could not be built");
        m_bClosing = true;
        DestroyNow();
        return 0;
    }
    if (x != CW_USEDEFAULT && y != CW_USEDEFAULT)
        host->move(x, y);
    else if (!child)
        CenterWindow();
    if (style & WS_DISABLED)
        host->setEnabled(false);
    if (style & WS_VISIBLE) {
        if (style & WS_MAXIMIZE)
            host->showMaximized();
        else if (style & WS_MINIMIZE)
            host->showMinimized();
        else
            host->show();
    }
    return m_hWnd;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus)
{
    if (!m_pHost)
        return;
    if (!show) {
        m_pHost->hide();
        return;
    }
    if (m_pHost->isMinimized())
        m_pHost->showNormal();
    else
        m_pHost->show();
    if (takeFocus && m_pHost->isWindow()) {
        m_bNoActivate = false;
        m_pHost->raise();
        m_pHost->activateWindow();
    }
}

int CWindowWnd::ShowModal()
{
    return RunLoop(true);
}

int CWindowWnd::RunUntilClosed()
{
    return RunLoop(false);
}

int CWindowWnd::RunLoop(bool blockOthers)
{
    if (!m_pHost)
        return -1;
    auto state = std::make_shared<ModalState>();
    m_modal = state;
    QWidget* host = m_pHost;
    if (blockOthers && host->isWindow() && host->windowType() != Qt::Popup) {
        if (host->isVisible())
            host->hide();
        host->setWindowModality(host->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    }
    host->show();
    if (host->isWindow()) {
        host->raise();
        host->activateWindow();
    }
    if (!state->done) {
        QEventLoop loop;
        state->loop = &loop;
        loop.exec(QEventLoop::DialogExec);
        state->loop = nullptr;
    }
    // This object may be gone by now (OnFinalMessage may delete it); only the state is ours.
    return state->code;
}

void CWindowWnd::Close(int code)
{
    if (!m_pHost || m_bClosing)
        return;
    ravelo::Message message{WM_CLOSE, static_cast<std::uintptr_t>(code), nullptr};
    Dispatch(message);
}

bool CWindowWnd::IsBusy() const
{
    if (!m_pHost)
        return false;
    if (m_bCreating || m_pHost->IsHandlingEvent() || IsDispatching())
        return true;
    // A window inside this one (a child window or an owned dialog) dies with it.
    for (CWindowWnd* other : Windows()) {
        if (other == this || !other->m_pHost)
            continue;
        for (QWidget* w = other->m_pHost->parentWidget(); w; w = w->parentWidget()) {
            if (w == m_pHost.data()) {
                if (other->m_pHost->IsHandlingEvent() || other->IsDispatching())
                    return true;
                break;
            }
        }
    }
    return false;
}

void CWindowWnd::DestroyNow()
{
    auto& pending = PendingDestroys();
    pending.erase(std::remove(pending.begin(), pending.end(), this), pending.end());
    if (m_pHost)
        delete m_pHost.data();
}

void CWindowWnd::ProcessPendingDestroys()
{
    if (PendingDestroys().empty() || DestroyCheckScheduled() || !QCoreApplication::instance())
        return;
    DestroyCheckScheduled() = true;
    // Run from the event loop, never from inside the event of a widget that may die with them.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            DestroyCheckScheduled() = false;
            const std::vector<CWindowWnd*> pending = PendingDestroys();
            for (CWindowWnd* window : pending) {
                const auto& current = PendingDestroys();
                if (std::find(current.begin(), current.end(), window) == current.end())
                    continue;
                if (!window->IsBusy())
                    window->DestroyNow();
            }
        },
        Qt::QueuedConnection);
}

void CWindowWnd::OnHostDestroyed(WindowHost* host)
{
    Q_UNUSED(host);
    const ravelo::WindowHandle handle = m_hWnd;
    auto& pending = PendingDestroys();
    pending.erase(std::remove(pending.begin(), pending.end(), this), pending.end());
    if (!m_bInDestructor) {
        ravelo::Message destroy{WM_DESTROY, 0, nullptr};
        bool handled = false;
        HandleMessage(destroy, handled);
    }
    // From here no post reaches the widget; those already queued die with it.
    ravelo::UnregisterReceiver(handle);
    Windows().remove(handle);
    m_hWnd = 0;
    if (!m_bInDestructor)
        OnHostDetached();
    m_pHost = nullptr;
    m_pReceiver.reset();
    m_bClosing = false;
    if (auto state = m_modal.lock()) {
        state->code = m_nCloseCode;
        state->done = true;
        if (state->loop)
            state->loop->exit(0);
    }
    if (!m_bInDestructor)
        OnFinalMessage(handle);
}

void CWindowWnd::ResizeClient(int cx, int cy)
{
    if (m_pHost)
        m_pHost->resize(cx, cy);
}

void CWindowWnd::SetIcon(const QIcon& icon)
{
    if (m_pHost)
        m_pHost->setWindowIcon(icon);
}

void CWindowWnd::Minimize()
{
    if (m_pHost)
        m_pHost->showMinimized();
}

void CWindowWnd::Maximize()
{
    if (m_pHost)
        m_pHost->showMaximized();
}

void CWindowWnd::Restore()
{
    if (m_pHost)
        m_pHost->showNormal();
}

bool CWindowWnd::IsMinimized() const
{
    return m_pHost && m_pHost->isMinimized();
}

bool CWindowWnd::IsMaximized() const
{
    return m_pHost && m_pHost->isMaximized();
}

bool CWindowWnd::IsWindowVisible() const
{
    return m_pHost && m_pHost->isVisible();
}

void CWindowWnd::Activate()
{
    ShowWindow(true, true);
}

LRESULT CWindowWnd::SendMessage(std::uint32_t id, WPARAM wParam,
                                std::unique_ptr<ravelo::MessagePayload> payload)
{
    if (!m_pHost)
        return 0;
    ravelo::Message message{id, wParam, std::move(payload)};
    return Dispatch(message);
}

bool CWindowWnd::PostMessage(std::uint32_t id, WPARAM wParam, std::unique_ptr<ravelo::MessagePayload> payload)
{
    return ravelo::PostMessage(m_hWnd, id, wParam, std::move(payload));
}

LRESULT CWindowWnd::Dispatch(ravelo::Message& message)
{
    bool handled = false;
    const LRESULT result = HandleMessage(message, handled);
    if (handled || !m_pHost)
        return result;
    return DefWindowProc(message);
}

LRESULT CWindowWnd::HandleMessage(ravelo::Message&, bool&)
{
    return 0;
}

LRESULT CWindowWnd::DefWindowProc(ravelo::Message& message)
{
    switch (message.id) {
    case WM_CLOSE:
        if (!m_pHost || m_bClosing)
            return 0;
        m_bClosing = true;
        m_nCloseCode = static_cast<int>(static_cast<std::intptr_t>(message.wParam));
        // A closed window takes no more posts, even if its widget has to wait for its events to end.
        ravelo::UnregisterReceiver(m_hWnd);
        m_pHost->hide();
        if (IsBusy()) {
            PendingDestroys().push_back(this);
            ProcessPendingDestroys();
        } else {
            DestroyNow();
        }
        return 0;
    case WM_SYSCOMMAND:
        switch (message.wParam) {
        case SC_CLOSE:
            Close(IDCANCEL);
            break;
        case SC_MINIMIZE:
            Minimize();
            break;
        case SC_MAXIMIZE:
            Maximize();
            break;
        case SC_RESTORE:
            Restore();
            break;
        default:
            break;
        }
        return 0;
    default:
        return 0;
    }
}

bool CWindowWnd::OnCreate()
{
    return true;
}

void CWindowWnd::OnFinalMessage(ravelo::WindowHandle) {}

void CWindowWnd::OnHostPaint(QPainter&, const QRect&) {}

void CWindowWnd::OnHostDetached() {}

bool CWindowWnd::TranslateEvent(QEvent* event)
{
    ravelo::Message message;
    switch (event->type()) {
    case QEvent::Close: {
        // Alt+F4, the window manager's close button: a system close request the window may refuse.
        event->ignore();
        message.id = WM_SYSCOMMAND;
        message.wParam = SC_CLOSE;
        Dispatch(message);
        return true;
    }
    case QEvent::KeyPress:
        message.id = WM_KEYDOWN;
        message.wParam = static_cast<WPARAM>(static_cast<QKeyEvent*>(event)->key());
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(event);
        const bool left = me->button() == Qt::LeftButton;
        const bool right = me->button() == Qt::RightButton;
        if (!left && !right)
            return false;
        if (event->type() == QEvent::MouseButtonPress)
            message.id = left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
        else if (event->type() == QEvent::MouseButtonRelease)
            message.id = left ? WM_LBUTTONUP : WM_RBUTTONUP;
        else
            message.id = left ? WM_LBUTTONDBLCLK : WM_RBUTTONDOWN;
        message.wParam = PackPoint(me->position().toPoint());
        break;
    }
    case QEvent::MouseMove:
        message.id = WM_MOUSEMOVE;
        message.wParam = PackPoint(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::Resize:
        message.id = WM_SIZE;
        message.wParam = m_pHost->isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
        break;
    case QEvent::WindowStateChange:
        message.id = WM_SIZE;
        message.wParam = m_pHost->isMinimized()   ? SIZE_MINIMIZED
                         : m_pHost->isMaximized() ? SIZE_MAXIMIZED
                                                  : SIZE_RESTORED;
        break;
    case QEvent::Show:
    case QEvent::Hide:
        message.id = WM_SHOWWINDOW;
        message.wParam = event->type() == QEvent::Show ? 1 : 0;
        break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        message.id = WM_ACTIVATE;
        message.wParam = event->type() == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE;
        break;
    default:
        return false;
    }
    bool handled = false;
    HandleMessage(message, handled);
    // Only input can be taken away from the library; state changes always reach the widget.
    const bool input = message.id == WM_KEYDOWN || (message.id >= WM_MOUSEMOVE && message.id <= WM_MBUTTONUP);
    return handled && input;
}

bool CWindowWnd::OnHostEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && m_bNoActivate && m_pActiveBeforeShow &&
        m_pActiveBeforeShow != m_pHost.data() && m_pActiveBeforeShow->isVisible())
        m_pActiveBeforeShow->activateWindow();
    if (event->type() == MessageEvent::EventType()) {
        // Messages still queued for a closing window are dropped with their payloads.
        if (!m_bClosing)
            Dispatch(static_cast<MessageEvent*>(event)->GetMessage());
        return true;
    }
    return TranslateEvent(event);
}

LRESULT SendMessage(ravelo::WindowHandle handle, std::uint32_t id, WPARAM wParam,
                    std::unique_ptr<ravelo::MessagePayload> payload)
{
    if (!OnUiThread()) {
        ravelo::DebugOutput("SendMessage refused: not on the UI thread");
        return 0;
    }
    CWindowWnd* window = CWindowWnd::FromHandle(handle);
    return window ? window->SendMessage(id, wParam, std::move(payload)) : 0;
}

} // namespace UiLib
