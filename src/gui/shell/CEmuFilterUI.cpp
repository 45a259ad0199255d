#include "gui/shell/CEmuFilterUI.h"

#include "gui/catalogue/CatalogueControls.h"

namespace ravelo {

using namespace UiLib;

QString CEmuTypeUI::GetClass() const
{
    return QStringLiteral("EmuTypeUI");
}

void* CEmuTypeUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : COptionUI::GetInterface(name);
}

QString CEmuFilterUI::GetClass() const
{
    return QStringLiteral("EmuFilterUI");
}

void* CEmuFilterUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CVerticalLayoutUI::GetInterface(name);
}

COptionUI* CEmuFilterUI::Header()
{
    return ControlAs<COptionUI>(FindSubControl(QStringLiteral("Switch")));
}

CTabLayoutUI* CEmuFilterUI::Grids()
{
    return ControlAs<CTabLayoutUI>(FindSubControl(QStringLiteral("Tb_LeftBarEmuType")));
}

void CEmuFilterUI::SetExpanded(bool expanded)
{
    if (CTabLayoutUI* grids = Grids())
        grids->SetVisible(expanded);
}

bool CEmuFilterUI::IsExpanded()
{
    CTabLayoutUI* grids = Grids();
    return grids && grids->IsVisible();
}

bool CEmuFilterUI::Locate(CControlUI* control, int& grid, int& index)
{
    CTabLayoutUI* grids = Grids();
    if (!grids || !ControlAs<CEmuTypeUI>(control))
        return false;
    // The option's grid is the tab layout's page that holds it.
    for (CControlUI* page = control->GetParent(); page; page = page->GetParent()) {
        if (page->GetParent() == grids) {
            grid = grids->GetItemIndex(page) + 1;
            index = static_cast<int>(control->GetTag());
            return grid >= 1;
        }
    }
    return false;
}

void CEmuFilterUI::SelectGrid(int grid)
{
    if (CTabLayoutUI* grids = Grids())
        grids->SelectItem(grid);
}

int CEmuFilterUI::SelectedGrid()
{
    CTabLayoutUI* grids = Grids();
    return grids ? grids->GetCurSel() : 0;
}

QSize CEmuFilterUI::EstimateSize(QSize)
{
    int height = GetInset().top() + GetInset().bottom();
    int shown = 0;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = GetItemAt(i);
        if (!item->IsVisible() || item->IsFloat())
            continue;
        const QMargins pad = item->GetPadding();
        height += item->GetFixedHeight() + pad.top() + pad.bottom();
        ++shown;
    }
    height += qMax(0, shown - 1) * GetChildPadding();
    return QSize(GetFixedWidth(), height);
}

CControlUI* CreateShellControl(const QString& tag)
{
    if (tag == QLatin1String("EmuFilter"))
        return new CEmuFilterUI;
    if (tag == QLatin1String("EmuType"))
        return new CEmuTypeUI;
    return CreateCatalogueControl(tag);
}

} // namespace ravelo
