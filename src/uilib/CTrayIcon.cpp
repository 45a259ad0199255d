#include "uilib/CTrayIcon.h"

#include "uilib/CWindowWnd.h"

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
