#pragma once

#include "uilib/CButtonUI.h"

namespace UiLib {

/// A button with a selected state. Options sharing a "group" exclude each other: a click selects
/// the option; without a group a click toggles it. Selected look: "selectedimage",
/// "selectedhotimage", "selectedtextcolor", "selectedbkcolor"; "selected" sets the first state.
/// An option bound to a page of a tab layout ("bindtabindex", "bindtablayoutname") shows that page
/// whenever it is selected, by the user or in code; the tab layout's "selectedid" picks the page
/// shown first.
class COptionUI : public CButtonUI
{
public:
    static constexpr TInterfaceName<COptionUI> kInterface{"Option"};

    ~COptionUI() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    bool Activate() override;

    QString GetGroup() const { return m_sGroupName; }
    void SetGroup(const QString& group);
    bool IsSelected() const { return m_bSelected; }
    /// Changes the state; with notify the window gets "selectchanged" from this option. Selecting an
    /// option of a group deselects the others of the group silently.
    virtual void Selected(bool selected, bool notify = true);

    /// The page of the bound tab layout; -1 (the default) binds none. Re-binding a selected option
    /// shows the new page at once.
    int GetBindTabIndex() const { return m_iBindTabIndex; }
    void SetBindTabIndex(int index);
    /// The name of the tab layout the option's page belongs to.
    QString GetBindTabLayoutName() const { return m_sBindTabLayoutName; }
    void SetBindTabLayoutName(const QString& name);

    std::uint32_t GetSelectedTextColor() const { return m_dwSelectedTextColor; }
    void SetSelectedTextColor(std::uint32_t argb);
    QString GetSelectedImage() const { return m_state.GetImage(CButtonState::Selected); }
    void SetSelectedImage(const QString& description) { SetStateImage(CButtonState::Selected, description); }

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintBkColor(QPainter& painter) override;

protected:
    std::uint32_t StateTextColor() const override;
    /// Shows the bound page, if the option is bound to one that exists.
    void SelectBoundTab();

    bool m_bSelected = false;
    QString m_sGroupName;
    int m_iBindTabIndex = -1;
    QString m_sBindTabLayoutName;
    std::uint32_t m_dwSelectedTextColor = 0;
    std::uint32_t m_dwSelectedBkColor = 0;
};

} // namespace UiLib
