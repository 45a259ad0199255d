#include "gui/catalogue/CatalogueControls.h"

#include "controls/ControlFactory.h"
#include "gui/catalogue/CGameFilterUI.h"
#include "gui/catalogue/CGameItemUI.h"
#include "uilib/CComboUI.h"

namespace ravelo {

UiLib::CControlUI* CreateCatalogueControl(const QString& tag)
{
    if (tag == QLatin1String("GameItem"))
        return new CGameItemUI;
    if (tag == QLatin1String("GameTypeFilter"))
        return new CGameTypeFilterUI;
    if (tag == QLatin1String("GameRankFilter"))
        return new CGameRankFilterUI;
    if (tag == QLatin1String("GameLanguage"))
        return new UiLib::CComboUI;
    return CreateProgramControl(tag);
}

} // namespace ravelo
