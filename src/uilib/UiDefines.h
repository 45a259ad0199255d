#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace UiLib {

class CControlUI;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

/// Event numbers that controls test in DoEvent; the numbering is part of the contract with the
/// program's own controls (mouse events are 9 to 18, timer is 24).
enum EventType
{
    UIEVENT__FIRST = 1,
    UIEVENT__KEYBEGIN,
    UIEVENT_KEYDOWN,
    UIEVENT_KEYUP,
    UIEVENT_CHAR,
    UIEVENT_SYSKEY,
    UIEVENT__KEYEND,
    UIEVENT__MOUSEBEGIN,
    UIEVENT_MOUSEMOVE,
    UIEVENT_MOUSELEAVE,
    UIEVENT_MOUSEENTER,
    UIEVENT_MOUSEHOVER,
    UIEVENT_BUTTONDOWN,
    UIEVENT_BUTTONUP,
    UIEVENT_RBUTTONDOWN,
    UIEVENT_DBLCLICK,
    UIEVENT_CONTEXTMENU,
    UIEVENT_SCROLLWHEEL,
    UIEVENT__MOUSEEND,
    UIEVENT_KILLFOCUS,
    UIEVENT_SETFOCUS,
    UIEVENT_WINDOWSIZE,
    UIEVENT_SETCURSOR,
    UIEVENT_TIMER,
    UIEVENT__LAST,
};
static_assert(UIEVENT_MOUSEMOVE == 9 && UIEVENT_MOUSELEAVE == 10 && UIEVENT_MOUSEENTER == 11);
static_assert(UIEVENT_BUTTONDOWN == 13 && UIEVENT_BUTTONUP == 14 && UIEVENT_DBLCLICK == 16);
static_assert(UIEVENT_SCROLLWHEEL == 18 && UIEVENT_KILLFOCUS == 20 && UIEVENT_SETFOCUS == 21);
static_assert(UIEVENT_SETCURSOR == 23 && UIEVENT_TIMER == 24);

/// Button and control state bits.
constexpr unsigned UISTATE_FOCUSED = 0x01;
constexpr unsigned UISTATE_SELECTED = 0x02;
constexpr unsigned UISTATE_DISABLED = 0x04;
constexpr unsigned UISTATE_HOT = 0x08;
constexpr unsigned UISTATE_PUSHED = 0x10;
constexpr unsigned UISTATE_READONLY = 0x20;
constexpr unsigned UISTATE_CAPTURED = 0x40;

/// Control flags (GetControlFlags).
constexpr unsigned UIFLAG_TABSTOP = 0x01;
constexpr unsigned UIFLAG_SETCURSOR = 0x02;
constexpr unsigned UIFLAG_WANTRETURN = 0x04;

/// Text style bits, as the layouts' alignment attributes set them.
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_NOPREFIX = 0x0800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

/// Scroll-wheel direction carried in wParam of UIEVENT_SCROLLWHEEL.
constexpr WPARAM SB_LINEUP = 0;
constexpr WPARAM SB_LINEDOWN = 1;

/// One input or timer event handed to a control's DoEvent.
struct TEventUI
{
    int Type = 0;
    CControlUI* pSender = nullptr;
    std::uint64_t dwTimestamp = 0;
    QPoint ptMouse;
    int chKey = 0; ///< Qt::Key for key events
    Qt::KeyboardModifiers wKeyState = Qt::NoModifier;
    WPARAM wParam = 0; ///< timer id for UIEVENT_TIMER, direction for the wheel
    LPARAM lParam = 0;
};

/// A named notification: the control that sent it and two parameters.
struct TNotifyUI
{
    QString sType;
    QString sVirtualWnd;
    CControlUI* pSender = nullptr;
    std::uint64_t dwTimestamp = 0;
    QPoint ptMouse;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::vector<std::string> vFiles; ///< "dropfiles": the dropped local paths, UTF-8
};

/// Receives a window's notifications, always on the UI thread, in the order of the user's actions.
class INotifyUI
{
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

/// Asked by the layout builder for every tag before the library's own classes. Returns a new
/// control (the tree takes ownership) or null to let the library decide.
class IDialogBuilderCallback
{
public:
    virtual ~IDialogBuilderCallback() = default;
    virtual CControlUI* CreateControl(const QString& className) = 0;
};

/// Notification names the program handles.
inline const QString DUI_MSGTYPE_WINDOWINIT = QStringLiteral("windowinit");
inline const QString DUI_MSGTYPE_CLICK = QStringLiteral("click");
inline const QString DUI_MSGTYPE_SELECTCHANGED = QStringLiteral("selectchanged");
inline const QString DUI_MSGTYPE_ITEMSELECT = QStringLiteral("itemselect");
inline const QString DUI_MSGTYPE_ITEMCLICK = QStringLiteral("itemclick");
inline const QString DUI_MSGTYPE_RETURN = QStringLiteral("return");
inline const QString DUI_MSGTYPE_LINK = QStringLiteral("link");
inline const QString DUI_MSGTYPE_MENU = QStringLiteral("menu");
inline const QString DUI_MSGTYPE_TEXTCHANGED = QStringLiteral("textchanged");
inline const QString DUI_MSGTYPE_SETFOCUS = QStringLiteral("setfocus");
inline const QString DUI_MSGTYPE_KILLFOCUS = QStringLiteral("killfocus");
inline const QString DUI_MSGTYPE_TIMER = QStringLiteral("timer");
inline const QString DUI_MSGTYPE_TABSELECT = QStringLiteral("tabselect");
inline const QString DUI_MSGTYPE_ITEMACTIVATE = QStringLiteral("itemactivate");
inline const QString DUI_MSGTYPE_DROPDOWN = QStringLiteral("dropdown");
/// A slider's value changed by the user (wParam: the value); while dragging, the "move" one.
inline const QString DUI_MSGTYPE_VALUECHANGED = QStringLiteral("valuechanged");
inline const QString DUI_MSGTYPE_VALUECHANGED_MOVE = QStringLiteral("movevaluechanged");
/// Files from the file manager: dragged onto and away from a control that accepts drops, dropped
/// on it (TNotifyUI::vFiles).
inline const QString DUI_MSGTYPE_DRAGENTER = QStringLiteral("dragenter");
inline const QString DUI_MSGTYPE_DRAGLEAVE = QStringLiteral("dragleave");
inline const QString DUI_MSGTYPE_DROPFILES = QStringLiteral("dropfiles");

} // namespace UiLib
