#include "uilib/ScreenPlacement.h"

#include <algorithm>

namespace UiLib {

QPoint RightEdgePosition(QSize size, const QRect& available, RightEdgeAnchor anchor, int margin)
{
    margin = std::max(0, margin);
    const int x = available.left() + available.width() - margin - size.width();
    const int y = anchor == RightEdgeAnchor::Bottom
                      ? available.top() + available.height() - margin - size.height()
                      : available.top() + (available.height() - size.height()) / 2;
    return QPoint(std::max(available.left(), x), std::max(available.top(), y));
}

} // namespace UiLib
