#include "uilib/CTrayIcon.h"

#include "uilib/CWindowWnd.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace UiLib {

CTrayIcon::CTrayIcon() = default;

CTrayIcon::~CTrayIcon()
{
    DeleteTrayIcon();
}

bool CTrayIcon::IsTrayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool CTrayIcon::CreateTrayIcon(ravelo::WindowHandle receiver, const QIcon& icon, const QString& tooltip,
                               std::uint32_t message)
{
    DeleteTrayIcon();
    if (!IsTrayAvailable())
        return false;
    m_receiver = receiver;
    m_pIcon = std::make_unique<QSystemTrayIcon>(icon);
    m_pIcon->setToolTip(tooltip);
    QObject::connect(m_pIcon.get(), &QSystemTrayIcon::activated, m_pIcon.get(),
                     [receiver, message](QSystemTrayIcon::ActivationReason reason) {
                         std::uintptr_t mouse = 0;
                         switch (reason) {
                         case QSystemTrayIcon::Trigger:
                             mouse = WM_LBUTTONUP;
                             break;
                         case QSystemTrayIcon::Context:
                             mouse = WM_RBUTTONUP;
                             break;
                         case QSystemTrayIcon::DoubleClick:
                             mouse = WM_LBUTTONDBLCLK;
                             break;
                         case QSystemTrayIcon::MiddleClick:
                             mouse = WM_MBUTTONUP;
                             break;
                         default:
                             return;
                         }
                         ravelo::PostMessage(receiver, message, mouse);
                     });
    m_pIcon->show();
    return true;
}

void CTrayIcon::DeleteTrayIcon()
{
    if (m_pIcon) {
        m_pIcon->hide();
        m_pIcon.reset();
    }
    m_menu.reset();
}

void CTrayIcon::SetMenu(const std::vector<TrayMenuItem>& items)
{
    if (!m_pIcon)
        return;
    auto menu = std::make_unique<QMenu>();
    // The palette of the skin's own menus: white, a thin grey border, the accent under the pointer.
    menu->setStyleSheet(
        QStringLiteral("QMenu { background: #FFFFFF; border: 1px solid #E3E6EB; padding: 4px; }"
                       "QMenu::item { padding: 7px 24px 7px 10px; color: #1F2430; }"
                       "QMenu::item:selected { background: #FFF0EA; color: #E65528; }"
                       "QMenu::separator { height: 1px; background: #E3E6EB; margin: 4px 6px; }"
                       "QMenu::icon { padding-left: 8px; }"));
    for (const TrayMenuItem& item : items) {
        if (item.text.isEmpty()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(item.icon, item.text);
        QObject::connect(action, &QAction::triggered, menu.get(), [receiver = m_receiver, id = item.id] {
            ravelo::PostMessage(receiver, UIMSG_TRAYMENU, id);
        });
    }
    m_pIcon->setContextMenu(menu.get());
    m_menu = std::move(menu);
}

QMenu* CTrayIcon::Menu() const
{
    return m_menu.get();
}

void CTrayIcon::SetTooltipText(const QString& tooltip)
{
    if (m_pIcon)
        m_pIcon->setToolTip(tooltip);
}

bool CTrayIcon::IsVisible() const
{
    return m_pIcon && m_pIcon->isVisible();
}

void CTrayIcon::HideWindowToTray(CWindowWnd& window) const
{
    if (IsVisible() && IsTrayAvailable())
        window.ShowWindow(false);
    else
        window.Minimize();
}

} // namespace UiLib
