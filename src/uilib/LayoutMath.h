#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <vector>

namespace UiLib {

class CControlUI;

/// One child along a layout's main axis.
struct LayoutSlot
{
    int fixed = 0; ///< wanted size; 0 means stretch
    int min = 0;
    int max = 9999;
    int size = 0; ///< result
};

/// Gives fixed cells their size (within min and max) and shares what is left of space equally among
/// the stretching ones. A stretching slot held back by its min or max keeps that size and the rest
/// is shared again, so the space is used exactly whenever the limits allow it; the last stretching
/// slot takes the rounding remainder.
void DistributeSpace(std::vector<LayoutSlot>& cells, int space);

/// Lays out children in a row (horizontal) or a column: fixed sizes, stretching, padding, child
/// padding, main-axis alignment when nothing stretches, cross-axis alignment of children narrower
/// than the line; floating children are left to placeFloat. Returns the content size the children
/// need (for scroll bars).
QSize LayoutLine(const std::vector<CControlUI*>& items, QRect content, QPoint scroll, int childPadding,
                 unsigned align, unsigned valign, bool vertical,
                 const std::function<void(CControlUI*)>& placeFloat);

} // namespace UiLib
