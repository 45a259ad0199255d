#include "controls/ControlFactory.h"

#include "controls/CButtonUIEx.h"
#include "controls/CDispatchEventButtonUI.h"
#include "controls/CDispatchEventOptionUI.h"
#include "controls/CFlipUI.h"
#include "controls/CGridTileLayoutUI.h"
#include "controls/CImageUI.h"
#include "controls/CLeftBarOptionUI.h"
#include "controls/CLoadingFailUI.h"
#include "controls/CLoadingUI.h"
#include "controls/CPageLabelUI.h"
#include "controls/CScrollTextUI.h"
#include "controls/CWindowContainerUI.h"
#include "controls/CWkeWebkitUI.h"

#include <QHash>

#include <functional>

namespace ravelo {

UiLib::CControlUI* CreateProgramControl(const QString& tag)
{
    using Factory = std::function<UiLib::CControlUI*()>;
    static const QHash<QString, Factory> factories = {
        {QStringLiteral("DispatchEventButton"), [] { return new CDispatchEventButtonUI; }},
        {QStringLiteral("DispatchEventOption"), [] { return new CDispatchEventOptionUI; }},
        {QStringLiteral("ScrollText"), [] { return new CScrollTextUI; }},
        {QStringLiteral("ButtonEx"), [] { return new CButtonUIEx; }},
        {QStringLiteral("GameIcon"), [] { return new CImageUI; }},
        {QStringLiteral("Loading"), [] { return new CLoadingUI; }},
        {QStringLiteral("LoadingFail"), [] { return new CLoadingFailUI; }},
        {QStringLiteral("PageLabel"), [] { return new CPageLabelUI; }},
        {QStringLiteral("Flip"), [] { return new CFlipUI; }},
        {QStringLiteral("GridTileLayout"), [] { return new CGridTileLayoutUI; }},
        {QStringLiteral("LeftBarOption"), [] { return new CLeftBarOptionUI; }},
        {QStringLiteral("WindowContainer"), [] { return new CWindowContainerUI; }},
        {QStringLiteral("wkeWebkit"), [] { return new CWkeWebkitUI; }},
    };
    const auto it = factories.constFind(tag);
    return it == factories.constEnd() ? nullptr : it.value()();
}

} // namespace ravelo
