#pragma once

#include "uilib/CTileLayoutUI.h"

namespace ravelo {

/// A tile layout that draws lines between its cells: "gridlinecolor", "gridlinesize" (pixels) and
/// "gridlinemargin" (how far each line stays from the cell's ends). Tag GridTileLayout.
class CGridTileLayoutUI : public UiLib::CTileLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CGridTileLayoutUI> kInterface{"CGridTileLayoutUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    void SetAttribute(const QString& name, const QString& value) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;

private:
    std::uint32_t m_dwLineColor = 0xFFE3E6EB;
    int m_nLineSize = 1;
    int m_nLineMargin = 0;
};

} // namespace ravelo
