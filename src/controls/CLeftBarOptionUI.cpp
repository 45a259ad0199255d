#include "controls/CLeftBarOptionUI.h"

#include "uilib/UiParse.h"

namespace ravelo {

using namespace UiLib;

QString CLeftBarOptionUI::GetClass() const
{
    return QStringLiteral("LeftBarOptionUI");
}

void* CLeftBarOptionUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : COptionUI::GetInterface(name);
}

void CLeftBarOptionUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("selectedleftimage"))
        m_sSelectedLeftImage = value;
    else if (name == QLatin1String("selectedrightimage"))
        m_sSelectedRightImage = value;
    else if (name == QLatin1String("unselectedrightimage"))
        m_sUnselectedRightImage = value;
    else if (name == QLatin1String("isselectedshowborder"))
        m_bSelectedShowBorder = Parse::Bool(value);
    else if (name == QLatin1String("canexpansion"))
        m_bCanExpansion = Parse::Bool(value);
    COptionUI::SetAttribute(name, value);
}

void CLeftBarOptionUI::PaintStatusImage(QPainter& painter)
{
    COptionUI::PaintStatusImage(painter);
    if (IsSelected()) {
        DrawOrForget(painter, m_sSelectedLeftImage);
        DrawOrForget(painter, m_sSelectedRightImage);
    } else {
        DrawOrForget(painter, m_sUnselectedRightImage);
    }
}

void CLeftBarOptionUI::PaintBorder(QPainter& painter)
{
    if (m_bSelectedShowBorder && !IsSelected())
        return;
    COptionUI::PaintBorder(painter);
}

} // namespace ravelo
