#pragma once

#include <QString>

namespace UiLib {
class CControlUI;
}

namespace ravelo {

/// A new program control for a layout tag (DispatchEventButton, DispatchEventOption, ScrollText,
/// ButtonEx, GameIcon, Loading, LoadingFail, PageLabel, Flip, GridTileLayout, LeftBarOption,
/// WindowContainer, wkeWebkit), or null for any other tag. Windows call it from CreateControl.
UiLib::CControlUI* CreateProgramControl(const QString& tag);

} // namespace ravelo
