#include "uilib/CProgressUI.h"

#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

namespace UiLib {

CProgressUI::CProgressUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
}

QString CProgressUI::GetClass() const
{
    return QStringLiteral("ProgressUI");
}

void* CProgressUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CLabelUI::GetInterface(name);
}

void CProgressUI::SetHorizontal(bool horizontal)
{
    m_bHorizontal = horizontal;
    Invalidate();
}

void CProgressUI::SetMinValue(int min)
{
    m_nMin = min;
    Invalidate();
}

void CProgressUI::SetMaxValue(int max)
{
    m_nMax = max;
    Invalidate();
}

void CProgressUI::SetValue(int value)
{
    if (m_nValue == value)
        return;
    m_nValue = value;
    Invalidate();
}

void CProgressUI::SetForeImage(const QString& description)
{
    m_sForeImage = description;
    Invalidate();
}

void CProgressUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("hor"))
        SetHorizontal(Parse::Bool(value));
    else if (name == QLatin1String("min"))
        SetMinValue(Parse::Int(value));
    else if (name == QLatin1String("max"))
        SetMaxValue(Parse::Int(value));
    else if (name == QLatin1String("value"))
        SetValue(Parse::Int(value));
    else if (name == QLatin1String("foreimage"))
        SetForeImage(value);
    else if (name == QLatin1String("forecolor"))
        m_dwForeColor = Parse::Color(value);
    else if (name == QLatin1String("isstretchfore"))
        m_bStretchForeImage = Parse::Bool(value);
    else
        CLabelUI::SetAttribute(name, value);
}

void CProgressUI::PaintStatusImage(QPainter& painter)
{
    if (m_nMax <= m_nMin)
        return;
    const qint64 span = static_cast<qint64>(m_nMax) - m_nMin;
    const qint64 done = qBound<qint64>(0, static_cast<qint64>(m_nValue) - m_nMin, span);
    QRect filled;
    if (m_bHorizontal) {
        const int width = static_cast<int>(done * m_rcItem.width() / span);
        filled = QRect(0, 0, width, m_rcItem.height());
    } else {
        const int height = static_cast<int>(done * m_rcItem.height() / span);
        filled = QRect(0, m_rcItem.height() - height, m_rcItem.width(), height);
    }
    if (filled.isEmpty())
        return;
    const QRect bar = filled.translated(m_rcItem.topLeft());
    const int round = qMin(m_cxyBorderRound.width(), qMin(bar.width(), bar.height()));
    PaintFill(painter, bar, QSize(round, round));
}

double CProgressUI::Fraction() const
{
    if (m_nMax <= m_nMin)
        return 0;
    const qint64 span = static_cast<qint64>(m_nMax) - m_nMin;
    const qint64 done = qBound<qint64>(0, static_cast<qint64>(m_nValue) - m_nMin, span);
    return static_cast<double>(done) / static_cast<double>(span);
}

void CProgressUI::PaintFill(QPainter& painter, const QRect& filled, QSize round, std::uint32_t color)
{
    if (filled.isEmpty())
        return;
    if (!m_sForeImage.isEmpty()) {
        // The image's dest (and, cut, its source) is relative to the control.
        const QRect relative = filled.translated(-m_rcItem.topLeft());
        const QString rect = QStringLiteral("%1,%2,%3,%4")
                                 .arg(relative.left())
                                 .arg(relative.top())
                                 .arg(relative.left() + relative.width())
                                 .arg(relative.top() + relative.height());
        QString modify = QStringLiteral("dest='%1'").arg(rect);
        if (!m_bStretchForeImage)
            modify += QStringLiteral(" source='%1'").arg(rect);
        if (DrawImage(painter, m_sForeImage, modify))
            return;
        m_sForeImage.clear();
    }
    if (color == 0)
        color = m_dwForeColor;
    if ((color >> 24) != 0)
        CRenderEngine::DrawRoundColor(painter, filled, round, color);
}

} // namespace UiLib
