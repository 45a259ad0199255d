#include "uilib/CPaintManagerUI.h"

#include "uilib/CContainerUI.h"
#include "uilib/CControlUI.h"
#include "uilib/CWindowWnd.h"
#include "uilib/DispatchScope.h"

#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDateTime>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace UiLib {

namespace {

QString& InstancePath()
{
    static QString path = QString::fromStdString(ravelo::ExecutableFolder());
    return path;
}

std::uint64_t Now()
{
    return static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
}

} // namespace

CPaintManagerUI::CPaintManagerUI() = default;

CPaintManagerUI::~CPaintManagerUI()
{
    Detach();
    m_notifiers.clear();
    m_asyncNotify.clear();
    delete m_pRoot;
    m_pRoot = nullptr;
    std::vector<CControlUI*> cleanup;
    cleanup.swap(m_delayedCleanup);
    for (CControlUI* control : cleanup)
        delete control;
}

void CPaintManagerUI::Init(QWidget* host)
{
    m_pHost = host;
    m_timers.SetHost(host);
    if (m_bDropsEnabled && host)
        host->setAcceptDrops(true);
    m_bUpdateNeeded = true;
}

void CPaintManagerUI::Detach()
{
    m_timers.SetHost(nullptr);
    m_dropTarget.Forget(m_dropTarget.GetTarget());
    m_asyncNotify.clear();
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    m_pEventRClick = nullptr;
    m_pHost = nullptr;
    m_bFlushScheduled = false;
    std::vector<CControlUI*> cleanup;
    cleanup.swap(m_delayedCleanup);
    for (CControlUI* control : cleanup)
        delete control;
}

QString CPaintManagerUI::GetInstancePath()
{
    return InstancePath();
}

void CPaintManagerUI::SetInstancePath(const QString& path)
{
    InstancePath() = path;
}

bool CPaintManagerUI::AttachDialog(CControlUI* root)
{
    if (!root)
        return false;
    if (m_pRoot && m_pRoot != root) {
        ReapObjects(m_pRoot);
        delete m_pRoot;
    }
    m_pRoot = root;
    InitControls(root, nullptr);
    NeedUpdate();
    return true;
}

void CPaintManagerUI::RegisterNames(CControlUI* control)
{
    control->FindControlIf([this](CControlUI* c) {
        const QString name = c->GetName();
        if (!name.isEmpty() && !m_names.contains(name))
            m_names.insert(name, c);
        if (c->IsAcceptDrop())
            EnableDrops();
        return false;
    });
}

void CPaintManagerUI::InitControls(CControlUI* control, CControlUI* parent)
{
    if (!control)
        return;
    control->SetManager(this, parent, false);
    RegisterNames(control);
    control->SetManager(this, parent, true);
}

void CPaintManagerUI::ReapObjects(CControlUI* control)
{
    if (!control)
        return;
    control->FindControlIf([this](CControlUI* c) {
        ForgetControl(c);
        return false;
    });
}

void CPaintManagerUI::ForgetControl(CControlUI* control)
{
    if (m_pFocus == control)
        m_pFocus = nullptr;
    if (m_pEventHover == control)
        m_pEventHover = nullptr;
    if (m_pEventClick == control)
        m_pEventClick = nullptr;
    if (m_pEventRClick == control)
        m_pEventRClick = nullptr;
    KillTimer(control);
    const QString name = control->GetName();
    if (!name.isEmpty()) {
        const auto it = m_names.find(name);
        if (it != m_names.end() && it.value() == control)
            m_names.erase(it);
    }
    m_optionGroups.Forget(control);
    m_dropTarget.Forget(control);
    m_asyncNotify.erase(std::remove_if(m_asyncNotify.begin(), m_asyncNotify.end(),
                                       [control](const TNotifyUI& n) { return n.pSender == control; }),
                        m_asyncNotify.end());
    if (m_pRoot == control)
        m_pRoot = nullptr;
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* control)
{
    if (!control)
        return;
    control->SetManager(this, nullptr, false);
    if (!m_pHost) {
        ReapObjects(control);
        delete control;
        return;
    }
    m_delayedCleanup.push_back(control);
    ScheduleFlush();
}

void CPaintManagerUI::ScheduleFlush()
{
    if (m_bFlushScheduled || !m_pHost)
        return;
    m_bFlushScheduled = true;
    QMetaObject::invokeMethod(
        m_pHost.data(),
        [this] {
            m_bFlushScheduled = false;
            FlushAsyncNotify();
            FlushDelayedCleanup();
        },
        Qt::QueuedConnection);
}

void CPaintManagerUI::FlushDelayedCleanup()
{
    if (m_nDispatchDepth > 0)
        return; // the outermost dispatch flushes when it ends
    while (!m_delayedCleanup.empty()) {
        std::vector<CControlUI*> cleanup;
        cleanup.swap(m_delayedCleanup);
        for (CControlUI* control : cleanup) {
            ReapObjects(control);
            delete control;
        }
    }
}

void CPaintManagerUI::FlushAsyncNotify()
{
    while (!m_asyncNotify.empty()) {
        TNotifyUI msg = m_asyncNotify.front();
        m_asyncNotify.pop_front();
        SendNotify(msg, false);
    }
}

void CPaintManagerUI::RenameControl(CControlUI* control, const QString& oldName, const QString& newName)
{
    const auto it = m_names.find(oldName);
    if (it != m_names.end() && it.value() == control)
        m_names.erase(it);
    if (!newName.isEmpty() && !m_names.contains(newName))
        m_names.insert(newName, control);
}

CControlUI* CPaintManagerUI::FindControl(const QString& name) const
{
    return m_names.value(name, nullptr);
}

CControlUI* CPaintManagerUI::FindControl(QPoint point) const
{
    return m_pRoot ? m_pRoot->FindControlAt(point) : nullptr;
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, const QString& name) const
{
    CControlUI* start = parent ? parent : m_pRoot;
    if (!start || name.isEmpty())
        return nullptr;
    return start->FindControlIf([&name](CControlUI* c) { return c->GetName() == name; });
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* parent, const QString& className,
                                                   int index) const
{
    CControlUI* start = parent ? parent : m_pRoot;
    if (!start)
        return nullptr;
    int seen = 0;
    return start->FindControlIf([&](CControlUI* c) { return c->GetClass() == className && seen++ == index; });
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier)
{
    if (!notifier || std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end())
        return false;
    m_notifiers.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier)
{
    const auto it = std::find(m_notifiers.begin(), m_notifiers.end(), notifier);
    if (it == m_notifiers.end())
        return false;
    m_notifiers.erase(it);
    return true;
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async)
{
    if (msg.dwTimestamp == 0)
        msg.dwTimestamp = Now();
    if (msg.pSender && msg.sVirtualWnd.isEmpty())
        msg.sVirtualWnd = msg.pSender->GetVirtualWnd();
    if (async) {
        m_asyncNotify.push_back(msg);
        ScheduleFlush();
        return;
    }
    {
        DispatchScope scope(m_nDispatchDepth);
        // A notifier may remove itself or others while being called.
        const std::vector<INotifyUI*> notifiers = m_notifiers;
        for (INotifyUI* notifier : notifiers) {
            if (std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end())
                notifier->Notify(msg);
        }
    }
    if (m_nDispatchDepth == 0) {
        // A notification from outside an event (a native edit's signal) ends here.
        if (!m_delayedCleanup.empty())
            ScheduleFlush();
        CWindowWnd::ProcessPendingDestroys();
    }
}

void CPaintManagerUI::SendNotify(CControlUI* control, const QString& type, WPARAM wParam, LPARAM lParam,
                                 bool async)
{
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = control;
    msg.wParam = wParam;
    msg.lParam = lParam;
    if (m_pHost)
        msg.ptMouse = m_pHost->mapFromGlobal(QCursor::pos());
    SendNotify(msg, async);
}

void CPaintManagerUI::SetFocus(CControlUI* control)
{
    if (control == m_pFocus)
        return;
    if (control && (control->GetManager() != this || !control->IsVisible() || !control->IsEnabled()))
        return;
    DispatchScope scope(m_nDispatchDepth);
    if (CControlUI* old = m_pFocus) {
        m_pFocus = nullptr;
        SendEvent(old, UIEVENT_KILLFOCUS, QPoint(), Qt::NoModifier, reinterpret_cast<WPARAM>(control));
        if (m_pFocus == nullptr && old->GetManager() == this)
            SendNotify(old, DUI_MSGTYPE_KILLFOCUS);
    }
    if (control) {
        m_pFocus = control;
        SendEvent(control, UIEVENT_SETFOCUS, QPoint(), Qt::NoModifier);
        if (m_pFocus == control)
            SendNotify(control, DUI_MSGTYPE_SETFOCUS);
    }
}

bool CPaintManagerUI::SetNextTabControl(bool forward)
{
    if (!m_pRoot)
        return false;
    std::vector<CControlUI*> stops;
    m_pRoot->FindControlIf([&stops](CControlUI* c) {
        if ((c->GetControlFlags() & UIFLAG_TABSTOP) && c->IsVisible() && c->IsEnabled() &&
            c->IsKeyboardEnabled())
            stops.push_back(c);
        return false;
    });
    if (stops.empty())
        return false;
    auto it = std::find(stops.begin(), stops.end(), m_pFocus);
    std::size_t index = 0;
    if (it != stops.end()) {
        const std::size_t current = static_cast<std::size_t>(it - stops.begin());
        index = forward ? (current + 1) % stops.size() : (current + stops.size() - 1) % stops.size();
    } else if (!forward) {
        index = stops.size() - 1;
    }
    SetFocus(stops[index]);
    return true;
}

void CPaintManagerUI::EnableDrops()
{
    m_bDropsEnabled = true;
    if (m_pHost && !m_pHost->acceptDrops())
        m_pHost->setAcceptDrops(true);
}

void CPaintManagerUI::SetCursor(Qt::CursorShape shape)
{
    if (!m_pHost || shape == m_cursor)
        return;
    m_cursor = shape;
    m_pHost->setCursor(shape);
}

void CPaintManagerUI::NeedUpdate()
{
    m_bUpdateNeeded = true;
    if (m_pHost && !m_bLayoutRequested && !m_bLayingOut) {
        m_bLayoutRequested = true;
        QCoreApplication::postEvent(m_pHost.data(), new QEvent(QEvent::LayoutRequest));
    }
}

void CPaintManagerUI::Invalidate(const QRect& rect)
{
    if (m_pHost && !m_bLayingOut && !rect.isEmpty())
        m_pHost->update(rect);
}

void CPaintManagerUI::Invalidate()
{
    if (m_pHost)
        m_pHost->update();
}

QRect CPaintManagerUI::GetClientRect() const
{
    if (!m_pHost)
        return QRect(QPoint(0, 0), m_szInitWindowSize);
    return m_pHost->rect().marginsRemoved(m_rcClientMargins);
}

void CPaintManagerUI::SetClientMargins(const QMargins& margins)
{
    if (m_rcClientMargins == margins)
        return;
    m_rcClientMargins = margins;
    NeedUpdate();
}

void CPaintManagerUI::UpdateLayout()
{
    if (!m_pRoot)
        return;
    const QRect client = GetClientRect();
    if (!m_bUpdateNeeded && !m_pRoot->IsUpdateNeeded() && client == m_rcLastLayout)
        return;
    m_bUpdateNeeded = false;
    m_bLayingOut = true;
    m_pRoot->SetPos(client, false);
    m_bLayingOut = false;
    m_rcLastLayout = client;
    Invalidate();
}

void CPaintManagerUI::Paint(QPainter& painter, const QRect& rect)
{
    UpdateLayout();
    if (!m_pRoot)
        return;
    DispatchScope scope(m_nDispatchDepth);
    m_pRoot->DoPaint(painter, rect);
}

} // namespace UiLib
