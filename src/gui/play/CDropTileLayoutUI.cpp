#include "gui/play/CDropTileLayoutUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

namespace ravelo {

using namespace UiLib;

QString CDropTileLayoutUI::GetClass() const
{
    return QStringLiteral("DropTileLayoutUI");
}

void* CDropTileLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CGameTileListUI::GetInterface(name);
}

void CDropTileLayoutUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("dropbordcolor"))
        m_dwDropBorderColor = Parse::Color(value);
    else if (name == QLatin1String("Dropbordersize"))
        m_nDropBorderSize = qMax(0, Parse::Int(value));
    else if (name == QLatin1String("dropbkcolor"))
        m_dwDropBkColor = Parse::Color(value);
    else if (name == QLatin1String("droptext"))
        m_sDropText = value;
    CGameTileListUI::SetAttribute(name, value);
}

void CDropTileLayoutUI::PaintBkColor(QPainter& painter)
{
    CGameTileListUI::PaintBkColor(painter);
    if (IsDragOver() && (m_dwDropBkColor >> 24) != 0)
        CRenderEngine::DrawRoundColor(painter, m_rcItem, GetBorderRound(), m_dwDropBkColor);
}

void CDropTileLayoutUI::PaintBorder(QPainter& painter)
{
    if (!IsDragOver() || m_nDropBorderSize <= 0 || (m_dwDropBorderColor >> 24) == 0) {
        CGameTileListUI::PaintBorder(painter);
        return;
    }
    CRenderEngine::DrawRoundBorder(painter, m_rcItem, m_nDropBorderSize, GetBorderRound(),
                                   m_dwDropBorderColor);
}

} // namespace ravelo

namespace ravelo {

void CDropTileLayoutUI::SetDropText(const QString& text)
{
    if (m_sDropText == text)
        return;
    m_sDropText = text;
    if (IsDragOver())
        Invalidate();
}

void CDropTileLayoutUI::DoPaint(QPainter& painter, const QRect& paint)
{
    CGameTileListUI::DoPaint(painter, paint);
    if (!IsDragOver() || m_sDropText.isEmpty() || !m_pManager)
        return;
    // Over the tiles, at the foot of the list: what letting go will do.
    constexpr int kFont = 3;
    const QSize text = CRenderEngine::MeasureText(m_pManager, m_sDropText, kFont, DT_SINGLELINE);
    const int width = qMin(text.width() + 40, m_rcItem.width() - 24);
    const QRect pill(m_rcItem.left() + (m_rcItem.width() - width) / 2, m_rcItem.bottom() - 56, width, 36);
    CRenderEngine::DrawRoundColor(painter, pill, QSize(36, 36), m_dwDropBorderColor);
    CRenderEngine::DrawText(painter, m_pManager, pill, m_sDropText, 0xFFFFFFFF, kFont,
                            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
}

} // namespace ravelo
