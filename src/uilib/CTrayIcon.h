#pragma once

#include "uilib/WinDefines.h"

#include "platform/Messages.h"

#include <QIcon>
#include <QString>

#include <memory>
#include <vector>

class QMenu;
class QSystemTrayIcon;

namespace UiLib {

class CWindowWnd;

/// One entry of the tray icon's menu; an empty text makes a separator.
struct TrayMenuItem
{
    std::uintptr_t id = 0;
    QString text;
    QIcon icon;
};

/// The program's icon in the desktop's notification area. Clicks reach the receiving window as
/// UIMSG_TRAYICON (or the message given) with the mouse message in wParam: WM_LBUTTONUP for a left
/// click, WM_RBUTTONUP for a right click, WM_LBUTTONDBLCLK, WM_MBUTTONUP. UI thread only.
class CTrayIcon
{
public:
    CTrayIcon();
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    /// Shows the icon; false when the desktop has no notification area (nothing is shown then).
    bool CreateTrayIcon(ravelo::WindowHandle receiver, const QIcon& icon, const QString& tooltip,
                        std::uint32_t message = UIMSG_TRAYICON);
    void DeleteTrayIcon();
    /// The icon's context menu. The desktop shows it itself (an XEmbed tray or a D-Bus status
    /// notifier alike), so it opens wherever the desktop puts tray menus; a chosen item reaches the
    /// receiver as UIMSG_TRAYMENU with the item's id in wParam.
    void SetMenu(const std::vector<TrayMenuItem>& items);
    /// The menu set by SetMenu, or null.
    QMenu* Menu() const;
    void SetTooltipText(const QString& tooltip);
    bool IsVisible() const;
    /// Whether the desktop offers a notification area at all.
    static bool IsTrayAvailable();

    /// Hides a window to the tray when the icon is showing; otherwise minimises it, so that the
    /// window can always be found again.
    void HideWindowToTray(CWindowWnd& window) const;

private:
    std::unique_ptr<QSystemTrayIcon> m_pIcon;
    std::unique_ptr<QMenu> m_menu;
    ravelo::WindowHandle m_receiver = 0;
};

} // namespace UiLib
