#pragma once

#include "uilib/CVerticalLayoutUI.h"
#include "uilib/IListUI.h"

#include <vector>

namespace UiLib {

/// A scrolling column of list items with a selection ("multiselect" allows several, added with
/// Ctrl). Item styling comes from the "item..." attributes. Selection changes send "itemselect"
/// (wParam: the item's index, lParam: the previous current index).
class CListUI : public CVerticalLayoutUI, public IListOwnerUI
{
public:
    static constexpr TInterfaceName<CListUI> kInterface{"List"};

    CListUI();

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    bool AddAt(CControlUI* control, int index) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;

    TListInfoUI* GetListInfo() override { return &m_ListInfo; }
    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int index, bool takeFocus = false, bool notify = true) override;
    bool SelectMultiItem(int index, bool takeFocus = false) override;
    bool UnSelectItem(int index, bool notify = true) override;
    bool IsMultiSelect() const override { return m_bMultiSelect; }
    void SetMultiSelect(bool multi);
    CControlUI* GetOwnerControl() override { return this; }
    void SelectAllItems();
    void UnSelectAllItems();
    int GetSelectItemCount() const { return static_cast<int>(m_selected.size()); }
    /// The selected indices in list order.
    std::vector<int> GetSelectedItems() const;
    bool IsItemSelected(int index) const;
    void EnsureVisible(int index);

    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void Reindex(int from);
    IListItemUI* ItemAt(int index) const;

    TListInfoUI m_ListInfo;
    int m_iCurSel = -1;
    std::vector<int> m_selected;
    bool m_bMultiSelect = false;
};

} // namespace UiLib
