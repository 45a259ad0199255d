#include "uilib/COptionUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/UiParse.h"

namespace UiLib {

COptionUI::~COptionUI()
{
    if (m_pManager && !m_sGroupName.isEmpty())
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
}

QString COptionUI::GetClass() const
{
    return QStringLiteral("OptionUI");
}

void* COptionUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CButtonUI::GetInterface(name);
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    if (m_pManager && m_pManager != manager && !m_sGroupName.isEmpty())
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    CButtonUI::SetManager(manager, parent, init);
    if (manager && !m_sGroupName.isEmpty())
        manager->AddOptionGroup(m_sGroupName, this);
}

void COptionUI::SetGroup(const QString& group)
{
    if (group == m_sGroupName)
        return;
    if (m_pManager && !m_sGroupName.isEmpty())
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    m_sGroupName = group;
    if (m_pManager && !m_sGroupName.isEmpty())
        m_pManager->AddOptionGroup(m_sGroupName, this);
    Selected(m_bSelected, false);
}

void COptionUI::Selected(bool selected, bool notify)
{
    if (m_bSelected == selected && !(selected && !m_sGroupName.isEmpty())) {
        if (selected)
            SelectBoundTab(); // its page again, should something else have been shown meanwhile
        return;
    }
    const bool changed = m_bSelected != selected;
    m_bSelected = selected;
    m_state.SetSelected(selected);
    if (m_pManager && selected && !m_sGroupName.isEmpty()) {
        for (CControlUI* member : m_pManager->GetOptionGroup(m_sGroupName)) {
            auto* option = member->As<COptionUI>();
            if (option && option != this && option->IsSelected())
                option->Selected(false, false);
        }
    }
    if (selected)
        SelectBoundTab();
    Invalidate();
    if (changed && notify && m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
}

void COptionUI::SetBindTabIndex(int index)
{
    m_iBindTabIndex = index;
    if (m_bSelected)
        SelectBoundTab();
}

void COptionUI::SetBindTabLayoutName(const QString& name)
{
    m_sBindTabLayoutName = name;
    if (m_bSelected)
        SelectBoundTab();
}

void COptionUI::SelectBoundTab()
{
    if (m_iBindTabIndex < 0 || m_sBindTabLayoutName.isEmpty() || !m_pManager)
        return;
    if (auto* tabs = ControlAs<CTabLayoutUI>(m_pManager->FindControl(m_sBindTabLayoutName)))
        tabs->SelectItem(m_iBindTabIndex);
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate())
        return false;
    if (!m_sGroupName.isEmpty())
        Selected(true);
    else
        Selected(!m_bSelected);
    return true;
}

void COptionUI::SetSelectedTextColor(std::uint32_t argb)
{
    m_dwSelectedTextColor = argb;
    Invalidate();
}

void COptionUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("group"))
        SetGroup(value);
    else if (name == QLatin1String("selected"))
        Selected(Parse::Bool(value), false);
    else if (name == QLatin1String("bindtabindex"))
        SetBindTabIndex(Parse::Int(value, -1));
    else if (name == QLatin1String("bindtablayoutname"))
        SetBindTabLayoutName(value);
    else if (name == QLatin1String("selectedtextcolor"))
        SetSelectedTextColor(Parse::Color(value));
    else if (name == QLatin1String("selectedbkcolor"))
        m_dwSelectedBkColor = Parse::Color(value);
    else
        CButtonUI::SetAttribute(name, value);
}

void COptionUI::PaintBkColor(QPainter& painter)
{
    if (m_bSelected && (m_dwSelectedBkColor >> 24) != 0) {
        CRenderEngine::DrawRoundColor(painter, m_rcItem, m_cxyBorderRound, m_dwSelectedBkColor);
        return;
    }
    CButtonUI::PaintBkColor(painter);
}

std::uint32_t COptionUI::StateTextColor() const
{
    if (m_bSelected && IsEnabled() && m_dwSelectedTextColor)
        return m_dwSelectedTextColor;
    return CButtonUI::StateTextColor();
}

} // namespace UiLib
