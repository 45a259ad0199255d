#pragma once

#include "uilib/CHorizontalLayoutUI.h"
#include "uilib/CListItemBase.h"

namespace UiLib {

/// A list item that holds other controls (laid out in a row). Pressing it sends "itemclick" and
/// selects it in its list; a double click sends "itemactivate".
class CListContainerElementUI : public CListItemBase<CHorizontalLayoutUI>
{
public:
    static constexpr TInterfaceName<CListContainerElementUI> kInterface{"ListContainerElement"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    QSize EstimateSize(QSize available) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;

protected:
    /// Draws the item's own text (after the background); used by tree nodes.
    virtual void DrawItemText(QPainter& painter, const QRect& rect);
};

} // namespace UiLib
