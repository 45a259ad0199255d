#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace UiLib {

/// Where a window sits along the right edge of the screen.
enum class RightEdgeAnchor
{
    Centre, ///< vertically centred
    Bottom, ///< in the bottom-right corner
};

/// The top-left corner that puts a window of this size (its frame) at the right edge of available (a
/// screen's available geometry), margin pixels in from the edges it touches. A window larger than
/// the area keeps its top-left corner inside the area. Pure.
QPoint RightEdgePosition(QSize size, const QRect& available, RightEdgeAnchor anchor, int margin = 0);

} // namespace UiLib
