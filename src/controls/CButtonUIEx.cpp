#include "controls/CButtonUIEx.h"

#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

namespace ravelo {

using namespace UiLib;

QString CButtonUIEx::GetClass() const
{
    return QStringLiteral("ButtonUIEx");
}

void* CButtonUIEx::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CButtonUI::GetInterface(name);
}

void CButtonUIEx::SetNumber(int number)
{
    if (m_nNumber == number)
        return;
    m_nNumber = number;
    Invalidate();
}

void CButtonUIEx::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("NumBkImage"))
        m_sNumBkImage = value;
    else if (name == QLatin1String("number"))
        SetNumber(Parse::Int(value));
    CButtonUI::SetAttribute(name, value);
}

void CButtonUIEx::PaintStatusImage(QPainter& painter)
{
    CButtonUI::PaintStatusImage(painter);
    if (m_nNumber <= 0)
        return;
    DrawOrForget(painter, m_sNumBkImage);
    QRect badge = m_rcItem;
    badge.setLeft(badge.left() + 33);
    badge.setTop(badge.top() + 1);
    badge.setBottom(badge.bottom() - 21);
    CRenderEngine::DrawText(painter, m_pManager, badge, QString::number(m_nNumber), 0xFFFFFFFF, m_iFont,
                            DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

} // namespace ravelo
