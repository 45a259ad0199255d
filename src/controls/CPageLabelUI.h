#pragma once

#include "uilib/CHorizontalLayoutUI.h"

namespace ravelo {

class CDispatchEventOptionUI;

/// A page switcher that makes its own children: "PageLabelbutton1" (text "button1text", shown with
/// "usebutton1"), the options "PageLabelIndex1" … "PageLabelIndex7" with the tips "PageLabelTip1"
/// and "PageLabelTip2" between them ("useitemtip", text "itemtiptext"), and "PageLabelbutton2". The
/// page items take "itemwidth", "itemheight", "itembordersize", "itembordercolor", "itemtextcolor",
/// "itempushedtextcolor", "itemselectedtextcolor", "itemalign", "itemfont" and the option group
/// "pagelabelgroup"; a changed value is applied to every item at once. Clicks reach the window as
/// "click" from the label with the requested page in wParam (the previous button asks for
/// current - 1 even on page 1; the window decides). Tag PageLabel.
class CPageLabelUI : public UiLib::CHorizontalLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CPageLabelUI> kInterface{"CPageLabelUI"};

    CPageLabelUI();

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    /// Shows the page numbers as the flip bar does; hides the label when either value is below 1.
    void SetPage(int currentPage, int totalItems);
    int GetCurrentPage() const { return m_nCurrentPage; }
    int GetPageCount() const { return m_nPageCount; }

    void RecvMessage(UiLib::CControlUI* sender, UiLib::WPARAM wParam, UiLib::LPARAM lParam) override;
    void SetAttribute(const QString& name, const QString& value) override;

private:
    void ApplyItemStyle();

    UiLib::CControlUI* m_pButton1 = nullptr;
    UiLib::CControlUI* m_pButton2 = nullptr;
    UiLib::CControlUI* m_pTip1 = nullptr;
    UiLib::CControlUI* m_pTip2 = nullptr;
    CDispatchEventOptionUI* m_pIndex[7] = {};
    int m_nCurrentPage = 0;
    int m_nPageCount = 0;
    int m_nTotalItems = 0;
    int m_nItemsPerPage = 40;
    int m_nItemWidth = 32;
    int m_nItemHeight = 32;
    int m_nItemBorderSize = 1;
    std::uint32_t m_dwItemBorderColor = 0xFFE3E6EB;
    std::uint32_t m_dwItemTextColor = 0xFF1F2430;
    std::uint32_t m_dwItemPushedTextColor = 0xFFE65528;
    std::uint32_t m_dwItemSelectedTextColor = 0xFFFFFFFF;
    QString m_sItemAlign = QStringLiteral("center");
    int m_iItemFont = -1;
    QString m_sGroup;
    bool m_bUseButton1 = true;
    bool m_bUseButton2 = true;
    bool m_bUseItemTip = true;
};

} // namespace ravelo
