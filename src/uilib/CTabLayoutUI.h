#pragma once

#include "uilib/CContainerUI.h"

namespace UiLib {

/// Shows one of its children at a time, each filling the layout ("selectedid" picks the first).
class CTabLayoutUI : public CContainerUI
{
public:
    static constexpr TInterfaceName<CTabLayoutUI> kInterface{"TabLayout"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control, bool doNotDestroy = false) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;

    int GetCurSel() const { return m_iCurSel; }
    /// Shows the child at index and hides the others; sends "tabselect" (wParam new, lParam old) when
    /// the page changed. False for an index out of range.
    virtual bool SelectItem(int index);
    bool SelectItem(CControlUI* control);

    void SetPos(QRect rc, bool needInvalidate = true) override;
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    int m_iCurSel = -1;
};

} // namespace UiLib
