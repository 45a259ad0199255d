#include "controls/CGridTileLayoutUI.h"

#include "uilib/UiParse.h"

#include <QPainter>

#include <vector>

namespace ravelo {

using namespace UiLib;

QString CGridTileLayoutUI::GetClass() const
{
    return QStringLiteral("GridTileLayoutUI");
}

void* CGridTileLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CTileLayoutUI::GetInterface(name);
}

void CGridTileLayoutUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("gridlinecolor"))
        m_dwLineColor = Parse::Color(value);
    else if (name == QLatin1String("gridlinesize"))
        m_nLineSize = qMax(0, Parse::Int(value));
    else if (name == QLatin1String("gridlinemargin"))
        m_nLineMargin = qMax(0, Parse::Int(value));
    CTileLayoutUI::SetAttribute(name, value);
}

void CGridTileLayoutUI::DoPaint(QPainter& painter, const QRect& paint)
{
    CTileLayoutUI::DoPaint(painter, paint);
    if (m_nLineSize <= 0 || (m_dwLineColor >> 24) == 0 || m_rcPaint.isEmpty())
        return;
    std::vector<CControlUI*> cells;
    for (CControlUI* item : m_items) {
        if (item->IsVisible() && !item->IsFloat())
            cells.push_back(item);
    }
    const int columns = qMax(1, GetActualColumns());
    const int rows = static_cast<int>((cells.size() + static_cast<std::size_t>(columns) - 1) / columns);
    const int columnGap = GetChildPadding();
    const int rowGap = GetChildVPadding();
    const QColor color = QColor::fromRgba(m_dwLineColor);
    painter.save();
    painter.setClipRect(m_rcPaint.intersected(ContentRect()), Qt::IntersectClip);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const QRect cell = cells[i]->GetPos().marginsAdded(cells[i]->GetPadding());
        const int column = static_cast<int>(i) % columns;
        const int row = static_cast<int>(i) / columns;
        if (column < columns - 1 && i + 1 < cells.size()) {
            const int x = cell.left() + cell.width() + (columnGap - m_nLineSize) / 2;
            painter.fillRect(
                QRect(x, cell.top() + m_nLineMargin, m_nLineSize, cell.height() - 2 * m_nLineMargin), color);
        }
        if (row < rows - 1) {
            const int y = cell.top() + cell.height() + (rowGap - m_nLineSize) / 2;
            painter.fillRect(
                QRect(cell.left() + m_nLineMargin, y, cell.width() - 2 * m_nLineMargin, m_nLineSize), color);
        }
    }
    painter.restore();
}

} // namespace ravelo
