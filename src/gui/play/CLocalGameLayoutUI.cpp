#include "gui/play/CLocalGameLayoutUI.h"

namespace ravelo {

QString CLocalGameLayoutUI::GetClass() const
{
    return QStringLiteral("LocalGameLayoutUI");
}

void* CLocalGameLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CDropTileLayoutUI::GetInterface(name);
}

} // namespace ravelo
