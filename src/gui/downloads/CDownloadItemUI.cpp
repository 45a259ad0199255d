#include "gui/downloads/CDownloadItemUI.h"

#include "uilib/CPaintManagerUI.h"

namespace ravelo {

using namespace UiLib;

QString CDownloadItemUI::GetClass() const
{
    return QStringLiteral("DownloadItemUI");
}

void* CDownloadItemUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CListContainerElementUI::GetInterface(name);
}

void CDownloadItemUI::RecvMessage(CControlUI* sender, WPARAM wParam, LPARAM lParam)
{
    if (m_pManager && sender)
        m_pManager->SendNotify(sender, DUI_MSGTYPE_CLICK, wParam, lParam);
}

CDownloadItemUI* CDownloadItemUI::RowOf(CControlUI* control)
{
    for (; control; control = control->GetParent())
        if (auto* row = control->As<CDownloadItemUI>())
            return row;
    return nullptr;
}

} // namespace ravelo
