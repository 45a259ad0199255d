#pragma once

#include "uilib/CVerticalLayoutUI.h"

namespace UiLib {

/// The root of a menu layout ("Menu"): a column of MenuElement items. Item styling: "itemheight"
/// (default 30), "itemtextcolor", "itemhottextcolor", "itemhotbkcolor", "itemdisabledtextcolor",
/// "linecolor"; "minwidth" bounds the width, which otherwise follows the longest text.
class CMenuUI : public CVerticalLayoutUI
{
public:
    static constexpr TInterfaceName<CMenuUI> kInterface{"Menu"};

    CMenuUI();

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    int GetItemHeight() const { return m_nItemHeight; }
    std::uint32_t GetItemTextColor() const { return m_dwItemTextColor; }
    std::uint32_t GetItemHotTextColor() const { return m_dwItemHotTextColor; }
    std::uint32_t GetItemHotBkColor() const { return m_dwItemHotBkColor; }
    std::uint32_t GetItemDisabledTextColor() const { return m_dwItemDisabledTextColor; }
    std::uint32_t GetLineColor() const { return m_dwLineColor; }
    int GetItemFont() const { return m_iItemFont; }

    /// The size the whole menu needs.
    QSize EstimateSize(QSize available) override;
    void SetAttribute(const QString& name, const QString& value) override;

private:
    int m_nItemHeight = 30;
    int m_iItemFont = -1;
    std::uint32_t m_dwItemTextColor = 0xFF1F2430;
    std::uint32_t m_dwItemHotTextColor = 0xFF1F2430;
    std::uint32_t m_dwItemHotBkColor = 0xFFF1F3F6;
    std::uint32_t m_dwItemDisabledTextColor = 0xFFA8AFBC;
    std::uint32_t m_dwLineColor = 0xFFE3E6EB;
};

} // namespace UiLib
