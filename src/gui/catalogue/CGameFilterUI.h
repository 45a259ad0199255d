#pragma once

#include "uilib/CHorizontalLayoutUI.h"
#include "uilib/CTileLayoutUI.h"

namespace ravelo {

/// The filters of the game pages: a row (or grid) of options, each tagged with its index. A click on
/// an option selects it and is a "click" from the filter with the index in wParam. The two classes
/// differ only in how they lay out their options.
class CGameTypeFilterUI : public UiLib::CTileLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CGameTypeFilterUI> kInterface{"CGameTypeFilterUI"};
    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    void RecvMessage(UiLib::CControlUI* sender, UiLib::WPARAM wParam, UiLib::LPARAM lParam) override;
    /// Selects the option with this index without a notification.
    void SelectIndex(int index);
    int SelectedIndex() const;
};

class CGameRankFilterUI : public UiLib::CHorizontalLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CGameRankFilterUI> kInterface{"CGameRankFilterUI"};
    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    void RecvMessage(UiLib::CControlUI* sender, UiLib::WPARAM wParam, UiLib::LPARAM lParam) override;
    void SelectIndex(int index);
    int SelectedIndex() const;
};

} // namespace ravelo
