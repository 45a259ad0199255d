#pragma once

#include "uilib/CButtonState.h"
#include "uilib/CContainerUI.h"
#include "uilib/IListUI.h"

#include "uilib/CComboWnd.h"

#include <QPointer>

namespace UiLib {

/// A drop-down choice: the children are list items shown in a pop-up list; the chosen one's text
/// shows in the box and "itemselect" (wParam new index, lParam old) reports a change. Attributes:
/// "textpadding", state images as on buttons, "dropboxsize" (width,height; width 0 = the combo's),
/// "dropbox" (attributes of the pop-up: "bkcolor", "bordercolor"), "selectedid" and the "item..."
/// styling of lists.
class CComboUI : public CContainerUI, public IListOwnerUI
{
public:
    static constexpr TInterfaceName<CComboUI> kInterface{"Combo"};

    CComboUI();
    ~CComboUI() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    bool TakesCaptionInput() const override { return true; }
    unsigned GetControlFlags() const override;

    bool AddAt(CControlUI* control, int index) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;

    QString GetText() const override;
    TListInfoUI* GetListInfo() override { return &m_ListInfo; }
    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int index, bool takeFocus = false, bool notify = true) override;
    bool SelectMultiItem(int index, bool takeFocus = false) override { return SelectItem(index, takeFocus); }
    bool UnSelectItem(int index, bool notify = true) override;
    bool IsMultiSelect() const override { return false; }
    CControlUI* GetOwnerControl() override { return this; }

    /// Opens the pop-up list; sends "dropdown".
    bool Activate() override;
    bool IsDropped() const { return !m_pWindow.isNull(); }
    void CloseDropDown();
    QSize GetDropBoxSize() const { return m_szDropBox; }
    std::uint32_t GetDropBoxBkColor() const { return m_dwDropBkColor; }
    std::uint32_t GetDropBoxBorderColor() const { return m_dwDropBorderColor; }

    void SetEnabled(bool enabled = true) override;
    void SetPos(QRect rc, bool needInvalidate = true) override;
    CControlUI* FindControlAt(QPoint point) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;

private:
    friend class CComboWnd;
    void OnDropClosed();
    IListItemUI* ItemAt(int index) const;

    TListInfoUI m_ListInfo;
    int m_iCurSel = -1;
    QMargins m_rcTextPadding{10, 0, 28, 0};
    QSize m_szDropBox{0, 240};
    std::uint32_t m_dwDropBkColor = 0xFFFFFFFF;
    std::uint32_t m_dwDropBorderColor = 0xFFE3E6EB;
    CButtonState m_state;
    QString m_sArrowImage;
    std::uint32_t m_dwHotBorderColor = 0;
    QPointer<CComboWnd> m_pWindow;
};

} // namespace UiLib
