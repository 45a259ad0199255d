#pragma once

#include "uilib/CControlUI.h"

#include <vector>

namespace UiLib {

class CScrollBarUI;

/// A control that owns children. Without a layout every child fills the inset area; floating
/// children sit at their "pos" relative to the container. Scroll bars ("vscrollbar",
/// "hscrollbar") appear when the content does not fit.
class CContainerUI : public CControlUI
{
public:
    /// Containers also answer "Container".
    static constexpr TInterfaceName<CContainerUI> kInterface{"IContainer"};

    CContainerUI();
    ~CContainerUI() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(CControlUI* control) const;
    /// Moves a child to another index; false when it is not a child.
    bool SetItemIndex(CControlUI* control, int index);
    int GetCount() const { return static_cast<int>(m_items.size()); }
    /// Takes ownership; a control joining a window is initialised and registered by name.
    virtual bool Add(CControlUI* control);
    virtual bool AddAt(CControlUI* control, int index);
    /// Removes a child. It is destroyed after the current event unless doNotDestroy, in which case
    /// the caller owns it again.
    virtual bool Remove(CControlUI* control, bool doNotDestroy = false);
    virtual bool RemoveAt(int index, bool doNotDestroy = false);
    virtual void RemoveAll();

    /// Called by dispatch controls inside this container with the clicked control; the default
    /// ignores it (a click then does nothing visible).
    virtual void RecvMessage(CControlUI* sender, WPARAM wParam, LPARAM lParam);

    /// A named control below this one.
    CControlUI* FindSubControl(const QString& name);

    QMargins GetInset() const { return m_rcInset; }
    void SetInset(const QMargins& inset);
    int GetChildPadding() const { return m_iChildPadding; }
    void SetChildPadding(int padding);
    bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
    void SetMouseChildEnabled(bool enabled = true) { m_bMouseChildEnabled = enabled; }
    /// Horizontal and vertical alignment of children that do not fill the space ("childalign",
    /// "childvalign"): DT_LEFT/DT_CENTER/DT_RIGHT and DT_TOP/DT_VCENTER/DT_BOTTOM.
    unsigned GetChildAlign() const { return m_uChildAlign; }
    unsigned GetChildVAlign() const { return m_uChildVAlign; }

    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetMouseEnabled(bool enabled = true) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void SetPos(QRect rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;
    CControlUI* FindControlAt(QPoint point) override;
    CControlUI* FindControlIf(const std::function<bool(CControlUI*)>& visit) override;

    // Scrolling.
    QPoint GetScrollPos() const;
    QSize GetScrollRange() const;
    virtual void SetScrollPos(QPoint pos);
    void LineUp();
    void LineDown();
    void LineLeft();
    void LineRight();
    void PageUp();
    void PageDown();
    void EnableScrollBar(bool vertical = true, bool horizontal = false);
    CScrollBarUI* GetVerticalScrollBar() const { return m_pVerticalScrollBar; }
    CScrollBarUI* GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }
    /// Scrolls so that the control is fully in view.
    void EnsureVisible(CControlUI* control);

protected:
    /// The area children are laid out in: the item minus the inset and the visible scroll bars.
    QRect ContentRect() const;
    /// Places a floating child at its fixed position relative to this container.
    void SetFloatPos(CControlUI* control);
    /// Shows or hides the scroll bars for the content size and places them.
    virtual void ProcessScrollBar(QRect content, int cxRequired, int cyRequired);
    void PaintChildren(QPainter& painter, const QRect& paint);

    std::vector<CControlUI*> m_items;
    QMargins m_rcInset;
    int m_iChildPadding = 0;
    unsigned m_uChildAlign = DT_LEFT;
    unsigned m_uChildVAlign = DT_TOP;
    bool m_bMouseChildEnabled = true;
    bool m_bScrollProcess = false;
    bool m_bScrollBarDefaultsApplied = false;
    CScrollBarUI* m_pVerticalScrollBar = nullptr;
    CScrollBarUI* m_pHorizontalScrollBar = nullptr;
};

} // namespace UiLib
