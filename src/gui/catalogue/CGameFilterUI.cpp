#include "gui/catalogue/CGameFilterUI.h"

#include "uilib/COptionUI.h"
#include "uilib/CPaintManagerUI.h"

namespace ravelo {

using namespace UiLib;

namespace {

/// The filter's part of a click: the option says which index it stands for.
void Dispatch(CContainerUI& filter, CControlUI* sender)
{
    auto* option = ControlAs<COptionUI>(sender);
    if (!option || !filter.GetManager())
        return;
    option->Selected(true, false);
    filter.GetManager()->SendNotify(&filter, DUI_MSGTYPE_CLICK, static_cast<WPARAM>(option->GetTag()), 0);
}

void Select(CContainerUI& filter, int index)
{
    for (int i = 0; i < filter.GetCount(); ++i)
        if (auto* option = ControlAs<COptionUI>(filter.GetItemAt(i));
            option && static_cast<int>(option->GetTag()) == index)
            option->Selected(true, false);
}

int Selected(const CContainerUI& filter)
{
    for (int i = 0; i < filter.GetCount(); ++i)
        if (auto* option = ControlAs<COptionUI>(filter.GetItemAt(i)); option && option->IsSelected())
            return static_cast<int>(option->GetTag());
    return 0;
}

} // namespace

QString CGameTypeFilterUI::GetClass() const
{
    return QStringLiteral("GameTypeFilterUI");
}

void* CGameTypeFilterUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CTileLayoutUI::GetInterface(name);
}

void CGameTypeFilterUI::RecvMessage(CControlUI* sender, WPARAM, LPARAM)
{
    Dispatch(*this, sender);
}

void CGameTypeFilterUI::SelectIndex(int index)
{
    Select(*this, index);
}

int CGameTypeFilterUI::SelectedIndex() const
{
    return Selected(*this);
}

QString CGameRankFilterUI::GetClass() const
{
    return QStringLiteral("GameRankFilterUI");
}

void* CGameRankFilterUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CHorizontalLayoutUI::GetInterface(name);
}

void CGameRankFilterUI::RecvMessage(CControlUI* sender, WPARAM, LPARAM)
{
    Dispatch(*this, sender);
}

void CGameRankFilterUI::SelectIndex(int index)
{
    Select(*this, index);
}

int CGameRankFilterUI::SelectedIndex() const
{
    return Selected(*this);
}

} // namespace ravelo
