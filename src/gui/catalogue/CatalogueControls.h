#pragma once

#include <QString>

namespace UiLib {
class CControlUI;
}

namespace ravelo {

/// A new control for a tag of the catalogue pages (GameItem, GameTypeFilter, GameRankFilter,
/// GameLanguage, LoopBanner, WeekHotSpecial, HotGameTab) or of the program's generic controls; null for any
/// other tag.
UiLib::CControlUI* CreateCatalogueControl(const QString& tag);

} // namespace ravelo
