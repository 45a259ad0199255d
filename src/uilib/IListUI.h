#pragma once

#include "uilib/CControlUI.h"
#include "uilib/UiDefines.h"

#include <QMargins>
#include <QRect>
#include <QString>

#include <cstdint>

class QPainter;

namespace UiLib {

class CPaintManagerUI;

/// How a list draws its items ("item..." attributes of List, TreeView and Combo).
struct TListInfoUI
{
    int nFont = -1;
    unsigned uTextStyle = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    QMargins rcTextPadding{8, 0, 8, 0};
    int nItemHeight = 0; ///< 0: the font height plus 12
    std::uint32_t dwTextColor = 0;
    std::uint32_t dwBkColor = 0;
    std::uint32_t dwSelectedTextColor = 0;
    std::uint32_t dwSelectedBkColor = 0;
    std::uint32_t dwHotTextColor = 0;
    std::uint32_t dwHotBkColor = 0;
    std::uint32_t dwDisabledTextColor = 0;
    std::uint32_t dwDisabledBkColor = 0;
    std::uint32_t dwLineColor = 0;
    QString sBkImage;
    QString sSelectedImage;
    QString sHotImage;
    QString sDisabledImage;
    bool bShowHtml = false;

    /// Applies an "item..." attribute; false when the name is not one of them.
    bool SetAttribute(const QString& name, const QString& value);
};

/// What list items ask of the list that holds them.
class IListOwnerUI
{
public:
    static constexpr TInterfaceName<IListOwnerUI> kInterface{"IListOwner"};

    virtual ~IListOwnerUI() = default;
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    /// Selects one item (deselecting the others); "itemselect" (wParam new, lParam old) when notify.
    virtual bool SelectItem(int index, bool takeFocus = false, bool notify = true) = 0;
    /// Adds an item to the selection (multi-select lists); a single-select list selects it alone.
    virtual bool SelectMultiItem(int index, bool takeFocus = false) = 0;
    virtual bool UnSelectItem(int index, bool notify = true) = 0;
    virtual bool IsMultiSelect() const = 0;
    virtual CControlUI* GetOwnerControl() = 0;
};

/// An element of a list.
class IListItemUI
{
public:
    static constexpr TInterfaceName<IListItemUI> kInterface{"ListItem"};

    virtual ~IListItemUI() = default;
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(IListOwnerUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    /// Changes the selected look only; the owner keeps the selection.
    virtual bool Select(bool select = true) = 0;
    virtual bool IsHot() const = 0;
    virtual void SetHot(bool hot) = 0;
};

/// Shared drawing of list items: the state background (colour or image) and the line.
void DrawListItemBackground(QPainter& painter, CPaintManagerUI* manager, const TListInfoUI* info,
                            const QRect& item, const QRect& paint, bool selected, bool hot, bool enabled);
/// The item's text colour for its state.
std::uint32_t ListItemTextColor(CPaintManagerUI* manager, const TListInfoUI* info, bool selected, bool hot,
                                bool enabled);
/// Draws an item's own text in rect with its list's padding, font, style and state colour.
void DrawListItemText(QPainter& painter, CControlUI& item, IListItemUI& listItem, const QRect& rect,
                      const QString& text);
/// The height of an item whose layout gives none: its list's item height, else a line of the list's font
/// with room around it.
int DefaultListItemHeight(CControlUI& item, IListItemUI& listItem);
/// What every list item does with a press (notify "itemclick", select; with Ctrl in a multi-select list,
/// toggle), a double click (activate), the pointer entering or leaving (hot) and keys or the wheel (passed
/// to the list). True when the event was handled and the item's base must not see it.
bool HandleListItemEvent(CControlUI& item, IListItemUI& listItem, TEventUI& event);

} // namespace UiLib
