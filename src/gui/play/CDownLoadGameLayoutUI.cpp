#include "gui/play/CDownLoadGameLayoutUI.h"

namespace ravelo {

QString CDownLoadGameLayoutUI::GetClass() const
{
    return QStringLiteral("DownLoadGameLayoutUI");
}

void* CDownLoadGameLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CGameTileListUI::GetInterface(name);
}

} // namespace ravelo
