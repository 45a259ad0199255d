#include "controls/PageNumbers.h"

#include "uilib/CControlUI.h"

namespace ravelo {

int PageCount(int totalItems, int itemsPerPage)
{
    if (itemsPerPage < 1)
        itemsPerPage = 1;
    if (totalItems < 1)
        return 0;
    return static_cast<int>((static_cast<long long>(totalItems) + itemsPerPage - 1) / itemsPerPage);
}

PageWindow ComputePageWindow(int current, int pages)
{
    PageWindow window;
    if (pages > 7) {
        window.tip1 = current - 1 > 3;
        window.tip2 = pages - current > 3;
        if (window.tip1 && !window.tip2)
            window.numbers = {1, pages - 5, pages - 4, pages - 3, pages - 2, pages - 1, pages};
        else if (!window.tip1 && window.tip2)
            window.numbers = {1, 2, 3, 4, 5, 6, pages};
        else
            window.numbers = {1, current - 2, current - 1, current, current + 1, current + 2, pages};
        window.visibleOptions = 7;
    } else {
        window.numbers = {1, 2, 3, 4, 5, 6, 7};
        window.visibleOptions = pages < 0 ? 0 : pages;
    }
    return window;
}

int RequestedPage(UiLib::CControlUI* sender, int currentPage)
{
    if (!sender)
        return 0;
    const QString name = sender->GetName();
    if (name == QLatin1String("PageLabelbutton1"))
        return currentPage - 1;
    if (name == QLatin1String("PageLabelbutton2"))
        return currentPage + 1;
    if (name.startsWith(QLatin1String("PageLabelIndex")))
        return static_cast<int>(sender->GetTag());
    return 0;
}

} // namespace ravelo
