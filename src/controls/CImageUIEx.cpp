#include "controls/CImageUIEx.h"

#include "uilib/UiParse.h"

namespace ravelo {

using namespace UiLib;

QString CImageUIEx::GetClass() const
{
    return QStringLiteral("ImageUIEx");
}

void* CImageUIEx::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CImageUI::GetInterface(name);
}

void CImageUIEx::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("autoremovecontorl"))
        m_bAutoRemove = Parse::Bool(value);
    CImageUI::SetAttribute(name, value);
}

void CImageUIEx::PaintBkImage(QPainter& painter)
{
    if (m_sBkImage.isEmpty())
        return;
    if (DrawImage(painter, m_sBkImage))
        return;
    m_sBkImage.clear();
    if (m_bAutoRemove)
        SetVisible(false);
}

} // namespace ravelo
