#pragma once

#include "uilib/CContainerUI.h"

namespace UiLib {

/// Lays out its children in a grid, row by row. The column count comes from "columns", or from how
/// many cells of "itemsize" fit the width; cells are "itemsize" large. Without an item width the
/// columns share the width; without an item height a row is as tall as its tallest child, and rows
/// of children that want no height share the layout's height. "childpadding" separates columns,
/// "childvpadding" rows (it defaults to the child padding).
class CTileLayoutUI : public CContainerUI
{
public:
    static constexpr TInterfaceName<CTileLayoutUI> kInterface{"TileLayout"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    QSize GetItemSize() const { return m_szItem; }
    void SetItemSize(QSize size);
    int GetColumns() const { return m_nColumns; }
    void SetColumns(int columns);
    /// Without fixed columns or item width: as many columns as fit items of at least this width, the
    /// items then sharing the width ("minitemwidth"); 0: unused.
    void SetMinItemWidth(int width);
    /// The column count of the last layout.
    int GetActualColumns() const { return m_nActualColumns; }
    int GetChildVPadding() const { return m_iChildVPadding < 0 ? m_iChildPadding : m_iChildVPadding; }

    void SetPos(QRect rc, bool needInvalidate = true) override;
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    QSize m_szItem{0, 0};
    int m_nColumns = 0;
    int m_nMinItemWidth = 0;
    int m_nActualColumns = 1;
    int m_iChildVPadding = -1;
};

} // namespace UiLib
