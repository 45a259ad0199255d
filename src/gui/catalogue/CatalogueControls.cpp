#include "gui/catalogue/CatalogueControls.h"

#include "controls/ControlFactory.h"
#include "gui/catalogue/CGameFilterUI.h"
#include "gui/catalogue/CGameItemUI.h"
#include "gui/catalogue/CLoopBanner.h"
#include "gui/catalogue/CWeekHotSpecialUI.h"
#include "uilib/CComboUI.h"
#include "uilib/CTabLayoutUI.h"

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
    if (tag == QLatin1String("LoopBanner"))
        return new CLoopBanner;
    if (tag == QLatin1String("WeekHotSpecial"))
        return new CWeekHotSpecialUI;
    if (tag == QLatin1String("HotGameTab"))
        return new UiLib::CTabLayoutUI;
    return CreateProgramControl(tag);
}

} // namespace ravelo
