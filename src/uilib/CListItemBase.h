#pragma once

#include "uilib/CPaintManagerUI.h"
#include "uilib/IListUI.h"

namespace UiLib {

/// A control that is an item of a list: its place in the list, its selected and hot looks, and the
/// events, height and text every list item shares. Base is the control it is otherwise (a plain
/// control for one line of text, a layout for a row of controls).
template <typename Base>
class CListItemBase : public Base, public IListItemUI
{
public:
    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int index) override { m_iIndex = index; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(IListOwnerUI* owner) override { m_pOwner = owner; }
    bool IsSelected() const override { return m_bSelected; }
    bool IsHot() const override { return m_bHot; }

    /// Changes the look only; the list keeps the selection.
    bool Select(bool select = true) override
    {
        if (m_bSelected != select) {
            m_bSelected = select;
            this->Invalidate();
        }
        return true;
    }

    void SetHot(bool hot) override
    {
        if (m_bHot == hot)
            return;
        m_bHot = hot;
        this->Invalidate();
    }

    /// Sends "itemactivate" once the control itself could be activated.
    bool Activate() override
    {
        if (!Base::Activate())
            return false;
        if (this->m_pManager)
            this->m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
        return true;
    }

    bool TakesCaptionInput() const override { return true; }
    void DoEvent(TEventUI& event) override
    {
        if (!HandleListItemEvent(*this, *this, event))
            Base::DoEvent(event);
    }

protected:
    /// Answers "ListItem" with the item's list side, then the control's own name, then Base's names.
    void* ListItemInterface(const QString& name, const char* ownName)
    {
        if (name == QLatin1String(IListItemUI::kInterface.name))
            return static_cast<IListItemUI*>(this);
        if (name == QLatin1String(ownName))
            return this;
        return Base::GetInterface(name);
    }

    int m_iIndex = -1;
    IListOwnerUI* m_pOwner = nullptr;
    bool m_bSelected = false;
    bool m_bHot = false;
};

} // namespace UiLib
