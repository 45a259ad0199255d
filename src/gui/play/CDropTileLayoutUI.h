#pragma once

#include "gui/play/CGameTileListUI.h"

#include <cstdint>

namespace ravelo {

/// A tile list that takes files dropped from the file manager ("acceptdrop"): while files hover over it
/// it paints a border of "Dropbordersize" pixels in "dropbordcolor" over a "dropbkcolor" tint and the
/// line "droptext" in a pill at its foot, so the user sees where they will land and what a drop does.
/// The drop itself reaches the window as "dropfiles". Tag DropTileLayout. UI thread.
class CDropTileLayoutUI : public CGameTileListUI
{
public:
    static constexpr UiLib::TInterfaceName<CDropTileLayoutUI> kInterface{"CDropTileLayoutUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    std::uint32_t GetDropBorderColor() const { return m_dwDropBorderColor; }
    int GetDropBorderSize() const { return m_nDropBorderSize; }
    QString GetDropText() const { return m_sDropText; }
    void SetDropText(const QString& text);

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintBkColor(QPainter& painter) override;
    void PaintBorder(QPainter& painter) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;

private:
    QString m_sDropText;
    std::uint32_t m_dwDropBorderColor = 0xFFFF6A3D;
    std::uint32_t m_dwDropBkColor = 0;
    int m_nDropBorderSize = 2;
};

} // namespace ravelo
