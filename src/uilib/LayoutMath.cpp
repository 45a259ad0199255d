#include "uilib/LayoutMath.h"

#include "uilib/CControlUI.h"

#include <algorithm>

namespace UiLib {

void DistributeSpace(std::vector<LayoutSlot>& cells, int space)
{
    std::vector<bool> settled(cells.size(), false);
    int remaining = space;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        LayoutSlot& slot = cells[i];
        if (slot.fixed > 0) {
            slot.size = std::clamp(slot.fixed, slot.min, std::max(slot.min, slot.max));
            settled[i] = true;
            remaining -= slot.size;
        }
    }
    // Repeat until no stretching slot hits a limit; each round settles at least one slot or ends.
    for (;;) {
        int open = 0;
        for (std::size_t i = 0; i < cells.size(); ++i)
            open += settled[i] ? 0 : 1;
        if (open == 0)
            return;
        const int share = std::max(0, remaining) / open;
        bool clamped = false;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (settled[i])
                continue;
            LayoutSlot& slot = cells[i];
            const int limited = std::clamp(share, slot.min, std::max(slot.min, slot.max));
            if (limited != share) {
                slot.size = limited;
                settled[i] = true;
                remaining -= limited;
                clamped = true;
            }
        }
        if (clamped)
            continue;
        int left = std::max(0, remaining);
        std::size_t last = cells.size();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (settled[i])
                continue;
            cells[i].size = share;
            left -= share;
            last = i;
        }
        if (last < cells.size()) {
            const int extra = std::min(left, std::max(0, cells[last].max - cells[last].size));
            cells[last].size += std::max(0, extra);
        }
        return;
    }
}

QSize LayoutLine(const std::vector<CControlUI*>& items, QRect content, QPoint scroll, int childPadding,
                 unsigned align, unsigned valign, bool vertical,
                 const std::function<void(CControlUI*)>& placeFloat)
{
    struct Entry
    {
        CControlUI* control;
        QSize wanted;
        QMargins pad;
    };
    std::vector<Entry> entries;
    std::vector<LayoutSlot> cells;
    int paddingTotal = 0;
    bool anyStretch = false;
    for (CControlUI* item : items) {
        if (!item->IsVisible())
            continue;
        if (item->IsFloat()) {
            placeFloat(item);
            continue;
        }
        const QMargins pad = item->GetPadding();
        const QSize wanted = item->EstimateSize(content.size());
        LayoutSlot slot;
        slot.fixed = vertical ? wanted.height() : wanted.width();
        slot.min = vertical ? item->GetMinHeight() : item->GetMinWidth();
        slot.max = vertical ? item->GetMaxHeight() : item->GetMaxWidth();
        anyStretch = anyStretch || slot.fixed <= 0;
        paddingTotal += vertical ? pad.top() + pad.bottom() : pad.left() + pad.right();
        cells.push_back(slot);
        entries.push_back({item, wanted, pad});
    }
    if (entries.empty())
        return QSize(0, 0);
    paddingTotal += childPadding * static_cast<int>(entries.size() - 1);
    const int mainSpace = (vertical ? content.height() : content.width()) - paddingTotal;
    DistributeSpace(cells, mainSpace);

    int used = paddingTotal;
    for (const LayoutSlot& slot : cells)
        used += slot.size;
    int cursor = vertical ? content.top() : content.left();
    const int leftover = (vertical ? content.height() : content.width()) - used;
    if (!anyStretch && leftover > 0) {
        const unsigned mainAlign = vertical ? valign : align;
        if (mainAlign & (DT_CENTER | DT_VCENTER))
            cursor += leftover / 2;
        else if (mainAlign & (DT_RIGHT | DT_BOTTOM))
            cursor += leftover;
    }
    cursor -= vertical ? scroll.y() : scroll.x();

    int crossNeeded = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const int mainSize = cells[i].size;
        const int crossSpace = vertical ? content.width() - e.pad.left() - e.pad.right()
                                        : content.height() - e.pad.top() - e.pad.bottom();
        int cross = vertical ? e.wanted.width() : e.wanted.height();
        if (cross <= 0)
            cross = crossSpace;
        const int crossMin = vertical ? e.control->GetMinWidth() : e.control->GetMinHeight();
        const int crossMax = vertical ? e.control->GetMaxWidth() : e.control->GetMaxHeight();
        cross = std::clamp(cross, crossMin, std::max(crossMin, crossMax));
        int crossOffset = 0;
        const unsigned crossAlign = vertical ? align : valign;
        if (cross < crossSpace) {
            if (crossAlign & (DT_CENTER | DT_VCENTER))
                crossOffset = (crossSpace - cross) / 2;
            else if (crossAlign & (DT_RIGHT | DT_BOTTOM))
                crossOffset = crossSpace - cross;
        }
        QRect rc;
        if (vertical) {
            cursor += e.pad.top();
            rc = QRect(content.left() + e.pad.left() + crossOffset - scroll.x(), cursor, cross, mainSize);
            cursor += mainSize + e.pad.bottom() + childPadding;
            crossNeeded = std::max(crossNeeded, cross + e.pad.left() + e.pad.right());
        } else {
            cursor += e.pad.left();
            rc = QRect(cursor, content.top() + e.pad.top() + crossOffset - scroll.y(), mainSize, cross);
            cursor += mainSize + e.pad.right() + childPadding;
            crossNeeded = std::max(crossNeeded, cross + e.pad.top() + e.pad.bottom());
        }
        e.control->SetPos(rc);
    }
    return vertical ? QSize(crossNeeded, used) : QSize(used, crossNeeded);
}

} // namespace UiLib
