#pragma once

#include <array>

namespace UiLib {
class CControlUI;
}

namespace ravelo {

/// What a page bar shows for a current page out of a number of pages: seven page options and the
/// two ellipsis tips (the first between options 1 and 2, the second between 6 and 7).
struct PageWindow
{
    std::array<int, 7> numbers{1, 2, 3, 4, 5, 6, 7};
    int visibleOptions = 7; ///< the first this many options show
    bool tip1 = false;
    bool tip2 = false;
};

/// Pages for a number of items: rounded up; at least one item per page.
int PageCount(int totalItems, int itemsPerPage);

/// The page numbers shown around the current page. More than seven pages: the first tip shows when
/// current - 1 > 3, the second when pages - current > 3; near the end the options read 1, pages-5 …
/// pages, near the start 1 … 6, pages, in the middle 1, current-2 … current+2, pages. Seven pages or
/// fewer: 1 … 7 with only the first `pages` visible and no tips.
PageWindow ComputePageWindow(int current, int pages);

/// The page a click on a child of a page bar asks for: "PageLabelbutton1" the current page - 1,
/// "PageLabelbutton2" the current page + 1, a page option ("PageLabelIndex1" …) its tag, anything
/// else 0.
int RequestedPage(UiLib::CControlUI* sender, int currentPage);

} // namespace ravelo
