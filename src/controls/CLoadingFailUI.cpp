#include "controls/CLoadingFailUI.h"

#include "uilib/CPaintManagerUI.h"

namespace ravelo {

QString CLoadingFailUI::GetClass() const
{
    return QStringLiteral("LoadingFailUI");
}

void* CLoadingFailUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CVerticalLayoutUI::GetInterface(name);
}

void CLoadingFailUI::DoEvent(UiLib::TEventUI& event)
{
    if (event.Type == UiLib::UIEVENT_BUTTONUP && IsEnabled() && GetPos().contains(event.ptMouse) &&
        m_pManager) {
        m_pManager->SendNotify(this, UiLib::DUI_MSGTYPE_CLICK);
        return;
    }
    if (event.Type == UiLib::UIEVENT_SETCURSOR && m_pManager) {
        m_pManager->SetCursor(Qt::PointingHandCursor);
        return;
    }
    CVerticalLayoutUI::DoEvent(event);
}

unsigned CLoadingFailUI::GetControlFlags() const
{
    return IsEnabled() ? UiLib::UIFLAG_SETCURSOR : 0;
}

} // namespace ravelo
