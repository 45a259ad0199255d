#pragma once

#include "uilib/CHorizontalLayoutUI.h"
#include "uilib/IListUI.h"

namespace UiLib {

/// A list item that holds other controls (laid out in a row). Pressing it sends "itemclick" and
/// selects it in its list; a double click sends "itemactivate".
class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI
{
public:
    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int index) override { m_iIndex = index; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(IListOwnerUI* owner) override { m_pOwner = owner; }
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool select = true) override;
    bool IsHot() const override { return m_bHot; }
    void SetHot(bool hot) override;
    bool Activate() override;

    QSize EstimateSize(QSize available) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;

protected:
    /// Draws the item's own text (after the background); used by tree nodes.
    virtual void DrawItemText(QPainter& painter, const QRect& rect);

    int m_iIndex = -1;
    IListOwnerUI* m_pOwner = nullptr;
    bool m_bSelected = false;
    bool m_bHot = false;
};

} // namespace UiLib
