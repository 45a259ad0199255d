#pragma once

#include "uilib/CHorizontalLayoutUI.h"

namespace ravelo {

/// The page switcher under a grid of games. Its children come from the layout: the buttons
/// "PageLabelbutton1" (previous) and "PageLabelbutton2" (next), the options "PageLabelIndex1" …
/// "PageLabelIndex7" (one group) and the ellipsis labels "PageLabelTip1" and "PageLabelTip2". A click
/// on any of them reaches the window as "click" from the bar with the requested page in wParam.
/// Tag Flip; "pagecardinalnumber" is the number of items per page (at least 1, default 40).
class CFlipUI : public UiLib::CHorizontalLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CFlipUI> kInterface{"CFlipUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    /// Shows the page numbers for a current page and a total number of items; hides the bar when
    /// either is below 1. UI thread.
    void SetPage(int currentPage, int totalItems);
    int GetCurrentPage() const { return m_nCurrentPage; }
    int GetTotalItems() const { return m_nTotalItems; }
    int GetItemsPerPage() const { return m_nItemsPerPage; }
    int GetPageCount() const;

    void RecvMessage(UiLib::CControlUI* sender, UiLib::WPARAM wParam, UiLib::LPARAM lParam) override;
    void SetAttribute(const QString& name, const QString& value) override;

private:
    int m_nItemsPerPage = 40;
    int m_nCurrentPage = 0;
    int m_nTotalItems = 0;
};

} // namespace ravelo
