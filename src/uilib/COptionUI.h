#pragma once

#include "uilib/CButtonUI.h"

namespace UiLib {

/// A button with a selected state. Options sharing a "group" exclude each other: a click selects
/// the option; without a group a click toggles it. Selected look: "selectedimage",
/// "selectedhotimage", "selectedtextcolor", "selectedbkcolor"; "selected" sets the first state.
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

    std::uint32_t GetSelectedTextColor() const { return m_dwSelectedTextColor; }
    void SetSelectedTextColor(std::uint32_t argb);
    QString GetSelectedImage() const { return m_state.GetImage(CButtonState::Selected); }
    void SetSelectedImage(const QString& description) { SetStateImage(CButtonState::Selected, description); }

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintBkColor(QPainter& painter) override;

protected:
    std::uint32_t StateTextColor() const override;

    bool m_bSelected = false;
    QString m_sGroupName;
    std::uint32_t m_dwSelectedTextColor = 0;
    std::uint32_t m_dwSelectedBkColor = 0;
};

} // namespace UiLib
