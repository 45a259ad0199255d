#pragma once

#include "uilib/COptionUI.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/CVerticalLayoutUI.h"

namespace ravelo {

/// A system option of the left bar's grids ("全部", PC, FC, ...); its tag is its index in the grid.
/// Tag EmuType.
class CEmuTypeUI : public UiLib::COptionUI
{
public:
    static constexpr UiLib::TInterfaceName<CEmuTypeUI> kInterface{"CEmuTypeUI"};
    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
};

/// An expandable entry of the left bar: its header option `Switch` and, below it while the header
/// is selected, the tab layout `Tb_LeftBarEmuType` holding grids of system options. Tag EmuFilter.
class CEmuFilterUI : public UiLib::CVerticalLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CEmuFilterUI> kInterface{"CEmuFilterUI"};
    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    UiLib::COptionUI* Header();
    UiLib::CTabLayoutUI* Grids();

    /// Shows or hides the grids (the entry opens when its header is selected).
    void SetExpanded(bool expanded);
    bool IsExpanded();

    /// Where a system option sits in this entry: its grid counted from 1 and its index; false when the
    /// control is not one of the entry's options.
    bool Locate(UiLib::CControlUI* control, int& grid, int& index);

    /// Shows a grid (counted from 0).
    void SelectGrid(int grid);
    int SelectedGrid();

    /// As tall as its header and, when open, its grids: the left bar stacks its entries.
    QSize EstimateSize(QSize available) override;
};

/// The control for a left-bar tag (EmuFilter, EmuType) or any other program tag; null otherwise.
UiLib::CControlUI* CreateShellControl(const QString& tag);

} // namespace ravelo
