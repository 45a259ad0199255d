#include "uilib/CListUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/UiParse.h"

#include <algorithm>

namespace UiLib {

CListUI::CListUI()
{
    EnableScrollBar(true, false);
}

QString CListUI::GetClass() const
{
    return QStringLiteral("ListUI");
}

void* CListUI::GetInterface(const QString& name)
{
    if (name == QLatin1String(kInterface.name))
        return this;
    if (name == QLatin1String(IListOwnerUI::kInterface.name))
        return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::GetInterface(name);
}

IListItemUI* CListUI::ItemAt(int index) const
{
    CControlUI* control = GetItemAt(index);
    return ControlAs<IListItemUI>(control);
}

void CListUI::Reindex(int from)
{
    for (int i = qMax(0, from); i < GetCount(); ++i) {
        if (IListItemUI* item = ItemAt(i))
            item->SetIndex(i);
    }
}

bool CListUI::AddAt(CControlUI* control, int index)
{
    if (!CVerticalLayoutUI::AddAt(control, index))
        return false;
    if (auto* item = control->As<IListItemUI>())
        item->SetOwner(this);
    Reindex(index);
    for (int& selected : m_selected) {
        if (selected >= index)
            ++selected;
    }
    if (m_iCurSel >= index)
        ++m_iCurSel;
    return true;
}

bool CListUI::RemoveAt(int index, bool doNotDestroy)
{
    if (!GetItemAt(index))
        return false;
    if (IListItemUI* item = ItemAt(index))
        item->SetOwner(nullptr);
    if (!CVerticalLayoutUI::RemoveAt(index, doNotDestroy))
        return false;
    Reindex(index);
    m_selected.erase(std::remove(m_selected.begin(), m_selected.end(), index), m_selected.end());
    for (int& selected : m_selected) {
        if (selected > index)
            --selected;
    }
    if (m_iCurSel == index)
        m_iCurSel = -1;
    else if (m_iCurSel > index)
        --m_iCurSel;
    return true;
}

void CListUI::RemoveAll()
{
    m_iCurSel = -1;
    m_selected.clear();
    CVerticalLayoutUI::RemoveAll();
}

bool CListUI::SelectItem(int index, bool takeFocus, bool notify)
{
    if (index < 0) {
        UnSelectAllItems();
        return true;
    }
    IListItemUI* item = ItemAt(index);
    if (!item)
        return false;
    const int old = m_iCurSel;
    const bool changed = old != index || m_selected.size() != 1;
    for (int selected : m_selected) {
        if (selected != index) {
            if (IListItemUI* other = ItemAt(selected))
                other->Select(false);
        }
    }
    m_selected.assign(1, index);
    m_iCurSel = index;
    item->Select(true);
    CControlUI* control = GetItemAt(index);
    if (takeFocus)
        control->SetFocus();
    EnsureVisible(index);
    if (changed && notify && m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(index), old);
    return true;
}

bool CListUI::SelectMultiItem(int index, bool takeFocus)
{
    if (!m_bMultiSelect)
        return SelectItem(index, takeFocus);
    IListItemUI* item = ItemAt(index);
    if (!item)
        return false;
    if (IsItemSelected(index))
        return true;
    const int old = m_iCurSel;
    m_selected.push_back(index);
    std::sort(m_selected.begin(), m_selected.end());
    m_iCurSel = index;
    item->Select(true);
    if (takeFocus)
        GetItemAt(index)->SetFocus();
    if (m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(index), old);
    return true;
}

bool CListUI::UnSelectItem(int index, bool notify)
{
    const auto it = std::find(m_selected.begin(), m_selected.end(), index);
    if (it == m_selected.end())
        return false;
    m_selected.erase(it);
    if (IListItemUI* item = ItemAt(index))
        item->Select(false);
    const int old = m_iCurSel;
    if (m_iCurSel == index)
        m_iCurSel = m_selected.empty() ? -1 : m_selected.back();
    if (notify && m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(m_iCurSel), old);
    return true;
}

void CListUI::SetMultiSelect(bool multi)
{
    m_bMultiSelect = multi;
    if (!multi && m_selected.size() > 1)
        SelectItem(m_iCurSel, false, false);
}

void CListUI::SelectAllItems()
{
    if (!m_bMultiSelect)
        return;
    m_selected.clear();
    for (int i = 0; i < GetCount(); ++i) {
        if (IListItemUI* item = ItemAt(i)) {
            item->Select(true);
            m_selected.push_back(i);
        }
    }
    const int old = m_iCurSel;
    m_iCurSel = m_selected.empty() ? -1 : m_selected.front();
    if (m_pManager && !m_selected.empty())
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(m_iCurSel), old);
}

void CListUI::UnSelectAllItems()
{
    if (m_selected.empty())
        return;
    for (int selected : m_selected) {
        if (IListItemUI* item = ItemAt(selected))
            item->Select(false);
    }
    m_selected.clear();
    const int old = m_iCurSel;
    m_iCurSel = -1;
    if (m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(-1), old);
}

std::vector<int> CListUI::GetSelectedItems() const
{
    return m_selected;
}

bool CListUI::IsItemSelected(int index) const
{
    return std::find(m_selected.begin(), m_selected.end(), index) != m_selected.end();
}

void CListUI::EnsureVisible(int index)
{
    if (CControlUI* control = GetItemAt(index))
        CVerticalLayoutUI::EnsureVisible(control);
}

void CListUI::DoEvent(TEventUI& event)
{
    if (event.Type == UIEVENT_KEYDOWN && IsEnabled()) {
        if (event.chKey == Qt::Key_Up && m_iCurSel > 0) {
            SelectItem(m_iCurSel - 1, true);
            return;
        }
        if (event.chKey == Qt::Key_Down && m_iCurSel + 1 < GetCount()) {
            SelectItem(m_iCurSel + 1, true);
            return;
        }
        if (event.chKey == Qt::Key_A && (event.wKeyState & Qt::ControlModifier) && m_bMultiSelect) {
            SelectAllItems();
            return;
        }
    }
    CVerticalLayoutUI::DoEvent(event);
}

void CListUI::SetAttribute(const QString& name, const QString& value)
{
    if (m_ListInfo.SetAttribute(name, value)) {
        Invalidate();
        return;
    }
    if (name == QLatin1String("multiselect"))
        SetMultiSelect(Parse::Bool(value));
    else if (name == QLatin1String("selectedid"))
        SelectItem(Parse::Int(value, -1), false, false);
    else if (name == QLatin1String("header"))
        return; // lists here have no header row
    else
        CVerticalLayoutUI::SetAttribute(name, value);
}

} // namespace UiLib
