#include "uilib/CTileLayoutUI.h"

#include "uilib/UiParse.h"

namespace UiLib {

QString CTileLayoutUI::GetClass() const
{
    return QStringLiteral("TileLayoutUI");
}

void* CTileLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CContainerUI::GetInterface(name);
}

void CTileLayoutUI::SetItemSize(QSize size)
{
    m_szItem = size;
    NeedUpdate();
}

void CTileLayoutUI::SetColumns(int columns)
{
    m_nColumns = qMax(0, columns);
    NeedUpdate();
}

void CTileLayoutUI::SetMinItemWidth(int width)
{
    m_nMinItemWidth = qMax(0, width);
    NeedUpdate();
}

void CTileLayoutUI::SetPos(QRect rc, bool needInvalidate)
{
    CControlUI::SetPos(rc, needInvalidate);
    const QRect content = ContentRect();
    const QPoint scroll = GetScrollPos();
    const int gap = m_iChildPadding;
    const int rowGap = GetChildVPadding();

    int columns = m_nColumns;
    if (columns <= 0 && m_szItem.width() > 0)
        columns = (content.width() + gap) / (m_szItem.width() + gap);
    else if (columns <= 0 && m_nMinItemWidth > 0)
        columns = (content.width() + gap) / (m_nMinItemWidth + gap);
    columns = qMax(1, columns);
    m_nActualColumns = columns;
    const int cellWidth =
        m_szItem.width() > 0 ? m_szItem.width() : qMax(0, (content.width() - (columns - 1) * gap) / columns);

    std::vector<CControlUI*> flow;
    for (CControlUI* item : m_items) {
        if (!item->IsVisible())
            continue;
        if (item->IsFloat())
            SetFloatPos(item);
        else
            flow.push_back(item);
    }

    // Rows whose children want no height share the layout's height.
    const int rows = static_cast<int>((flow.size() + static_cast<std::size_t>(columns) - 1) / columns);
    const int sharedRowHeight = rows > 0 ? qMax(0, (content.height() - (rows - 1) * rowGap) / rows) : 0;

    int y = content.top();
    int widthNeeded = 0;
    for (std::size_t rowStart = 0; rowStart < flow.size(); rowStart += static_cast<std::size_t>(columns)) {
        const std::size_t rowEnd = qMin(flow.size(), rowStart + static_cast<std::size_t>(columns));
        int rowHeight = m_szItem.height();
        if (rowHeight <= 0) {
            for (std::size_t i = rowStart; i < rowEnd; ++i) {
                const QMargins pad = flow[i]->GetPadding();
                const QSize wanted = flow[i]->EstimateSize(QSize(cellWidth, content.height()));
                if (wanted.height() > 0 || flow[i]->GetMinHeight() > 0)
                    rowHeight = qMax(rowHeight, qMax(wanted.height(), flow[i]->GetMinHeight()) + pad.top() +
                                                    pad.bottom());
            }
            if (rowHeight <= 0)
                rowHeight = sharedRowHeight;
        }
        int x = content.left();
        for (std::size_t i = rowStart; i < rowEnd; ++i) {
            CControlUI* item = flow[i];
            const QRect cell = QRect(x, y, cellWidth, rowHeight).marginsRemoved(item->GetPadding());
            const QSize wanted = item->EstimateSize(cell.size());
            int cx = wanted.width() > 0 ? qMin(wanted.width(), cell.width()) : cell.width();
            int cy = wanted.height() > 0 ? qMin(wanted.height(), cell.height()) : cell.height();
            cx = qBound(item->GetMinWidth(), cx, qMax(item->GetMinWidth(), item->GetMaxWidth()));
            cy = qBound(item->GetMinHeight(), cy, qMax(item->GetMinHeight(), item->GetMaxHeight()));
            item->SetPos(QRect(cell.left() - scroll.x(), cell.top() - scroll.y(), cx, cy));
            x += cellWidth + gap;
        }
        widthNeeded = qMax(widthNeeded, x - gap - content.left());
        y += rowHeight + rowGap;
    }
    const int heightNeeded = flow.empty() ? 0 : y - rowGap - content.top();
    ProcessScrollBar(content, widthNeeded, heightNeeded);
}

void CTileLayoutUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("itemsize"))
        SetItemSize(Parse::Size(value));
    else if (name == QLatin1String("columns"))
        SetColumns(Parse::Int(value));
    else if (name == QLatin1String("minitemwidth"))
        SetMinItemWidth(Parse::Int(value));
    else if (name == QLatin1String("childvpadding"))
        m_iChildVPadding = Parse::Int(value);
    else
        CContainerUI::SetAttribute(name, value);
}

} // namespace UiLib
