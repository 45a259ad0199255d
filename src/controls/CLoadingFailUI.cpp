#include "controls/CLoadingFailUI.h"

namespace ravelo {

QString CLoadingFailUI::GetClass() const
{
    return QStringLiteral("LoadingFailUI");
}

void* CLoadingFailUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CVerticalLayoutUI::GetInterface(name);
}

} // namespace ravelo
