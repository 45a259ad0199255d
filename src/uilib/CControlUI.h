#pragma once

#include "uilib/UiDefines.h"

#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <type_traits>

class QPainter;

namespace UiLib {

class CPaintManagerUI;

/// The interface name a class answers in GetInterface, declared by the class itself as
/// `static constexpr TInterfaceName<Class> kInterface{"Name"};` so that As<Class>() asks for it.
template <typename T>
struct TInterfaceName
{
    const char* name;
};

/// A windowless control: a rectangle in its window's paint manager that lays out, paints and handles
/// events. Every operation runs on the UI thread. A control belongs to its parent container (or, for
/// the root, to the paint manager); a control found by name stays valid while its window lives.
class CControlUI
{
public:
    static constexpr TInterfaceName<CControlUI> kInterface{"Control"};

    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual QString GetName() const;
    virtual void SetName(const QString& name);
    /// The class name ("ControlUI"); window code compares it to tell controls apart.
    virtual QString GetClass() const;
    /// This object when it implements the named interface ("Control", "Button", ...), else null.
    virtual void* GetInterface(const QString& name);
    /// This control as a T when it is one (GetInterface answers T's interface name), else null:
    /// control->As<COptionUI>().
    template <typename T>
    T* As()
    {
        static_assert(std::is_same_v<decltype(T::kInterface), const TInterfaceName<T>>,
                      "T declares its own kInterface");
        return static_cast<T*>(GetInterface(QLatin1String(T::kInterface.name)));
    }
    virtual unsigned GetControlFlags() const;
    /// Performs the control's action (a click); false when it is disabled or hidden.
    virtual bool Activate();
    /// True when a press on this control inside the window's caption zone is the control's own
    /// (buttons, options, texts, sliders, edits and the like) rather than the start of dragging the
    /// window. Subclasses inherit their base's answer.
    virtual bool TakesCaptionInput() const { return false; }

    CPaintManagerUI* GetManager() const { return m_pManager; }
    /// Attaches the control (and, for containers, its children) to a window; init runs DoInit.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    CControlUI* GetParent() const { return m_pParent; }

    virtual QString GetText() const;
    virtual void SetText(const QString& text);

    std::uint32_t GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(std::uint32_t argb);
    std::uint32_t GetBkColor2() const { return m_dwBackColor2; }
    void SetBkColor2(std::uint32_t argb);
    QString GetBkImage() const { return m_sBkImage; }
    void SetBkImage(const QString& description);
    std::uint32_t GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(std::uint32_t argb);
    std::uint32_t GetFocusBorderColor() const { return m_dwFocusBorderColor; }
    void SetFocusBorderColor(std::uint32_t argb);
    QMargins GetBorderSize() const { return m_rcBorderSize; }
    void SetBorderSize(int size);
    void SetBorderSize(const QMargins& sizes);
    QSize GetBorderRound() const { return m_cxyBorderRound; }
    void SetBorderRound(QSize round);
    /// Draws an image description inside this control; false when the picture cannot be loaded.
    bool DrawImage(QPainter& painter, const QString& description, const QString& modify = {});

    const QRect& GetPos() const { return m_rcItem; }
    /// Places the control (and lays out its children). Called by the parent's layout.
    virtual void SetPos(QRect rc, bool needInvalidate = true);
    int GetWidth() const { return m_rcItem.width(); }
    int GetHeight() const { return m_rcItem.height(); }
    int GetX() const { return m_rcItem.x(); }
    int GetY() const { return m_rcItem.y(); }
    QMargins GetPadding() const { return m_rcPadding; }
    void SetPadding(const QMargins& padding);
    /// Position of a floating control relative to its parent's top-left corner.
    QPoint GetFixedXY() const { return m_cXY; }
    void SetFixedXY(QPoint xy);
    int GetFixedWidth() const { return m_cxyFixed.width(); }
    void SetFixedWidth(int cx);
    int GetFixedHeight() const { return m_cxyFixed.height(); }
    void SetFixedHeight(int cy);
    int GetMinWidth() const { return m_cxyMin.width(); }
    void SetMinWidth(int cx);
    int GetMaxWidth() const { return m_cxyMax.width(); }
    void SetMaxWidth(int cx);
    int GetMinHeight() const { return m_cxyMin.height(); }
    void SetMinHeight(int cy);
    int GetMaxHeight() const { return m_cxyMax.height(); }
    void SetMaxHeight(int cy);

    QString GetToolTip() const { return m_sToolTip; }
    void SetToolTip(const QString& text) { m_sToolTip = text; }
    QString GetUserData() const { return m_sUserData; }
    void SetUserData(const QString& text) { m_sUserData = text; }
    /// A pointer-sized value the window attaches (a record or a number); the control never reads it.
    std::uintptr_t GetTag() const { return m_pTag; }
    void SetTag(std::uintptr_t tag) { m_pTag = tag; }
    QString GetVirtualWnd() const;
    void SetVirtualWnd(const QString& name) { m_sVirtualWnd = name; }

    /// Visible when the control itself and every container above it are visible.
    virtual bool IsVisible() const { return m_bVisible && m_bInternVisible; }
    virtual void SetVisible(bool visible = true);
    /// Set by the parent when it is shown or hidden.
    virtual void SetInternVisible(bool visible = true);
    virtual bool IsEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool enabled = true);
    bool IsMouseEnabled() const { return m_bMouseEnabled; }
    virtual void SetMouseEnabled(bool enabled = true);
    bool IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
    void SetKeyboardEnabled(bool enabled = true) { m_bKeyboardEnabled = enabled; }
    bool IsFocused() const { return m_bFocused; }
    virtual void SetFocus();
    bool IsFloat() const { return m_bFloat; }
    void SetFloat(bool isFloat = true);
    bool IsContextMenuUsed() const { return m_bMenuUsed; }
    void SetContextMenuUsed(bool used) { m_bMenuUsed = used; }
    /// Files dropped from the file manager onto the control or a control inside it arrive as
    /// "dropfiles" from it ("acceptdrop"); see CDropTarget.
    bool IsAcceptDrop() const { return m_bAcceptDrop; }
    void SetAcceptDrop(bool accept = true);
    /// True while files are dragged over the control, between "dragenter" and "dragleave"; a
    /// control may paint itself as a drop target then. Set by the window.
    bool IsDragOver() const { return m_bDragOver; }
    void SetDragOver(bool over);

    /// The topmost visible, mouse-enabled control at a window point, or null.
    virtual CControlUI* FindControlAt(QPoint point);
    /// Calls visit for this control and every control below it until visit returns true; returns
    /// the control for which it did.
    virtual CControlUI* FindControlIf(const std::function<bool(CControlUI*)>& visit);

    void Invalidate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void NeedUpdate();
    void NeedParentUpdate();

    /// Called once when the control joins a window (after its children).
    void Init();
    virtual void DoInit();

    /// Entry point of every event; DoEvent does the control's handling.
    void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    /// Applies one layout attribute; unknown names are ignored so every class can pass all of its
    /// attributes on to its base.
    virtual void SetAttribute(const QString& name, const QString& value);
    /// Applies "name='value' ..." in order.
    void ApplyAttributeList(const QString& list);

    /// The size the control wants inside the available space; 0 on an axis means "stretch".
    virtual QSize EstimateSize(QSize available);

    virtual void DoPaint(QPainter& painter, const QRect& paint);
    virtual void PaintBkColor(QPainter& painter);
    virtual void PaintBkImage(QPainter& painter);
    virtual void PaintStatusImage(QPainter& painter);
    virtual void PaintText(QPainter& painter);
    virtual void PaintBorder(QPainter& painter);

protected:
    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    QString m_sName;
    QString m_sText;
    QString m_sToolTip;
    QString m_sUserData;
    QString m_sVirtualWnd;
    std::uintptr_t m_pTag = 0;
    QRect m_rcItem;
    QRect m_rcPaint;
    QMargins m_rcPadding;
    QPoint m_cXY;
    QSize m_cxyFixed{0, 0};
    QSize m_cxyMin{0, 0};
    QSize m_cxyMax{9999, 9999};
    bool m_bVisible = true;
    bool m_bInternVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bKeyboardEnabled = true;
    bool m_bFocused = false;
    bool m_bFloat = false;
    bool m_bUpdateNeeded = true;
    bool m_bMenuUsed = false;
    bool m_bAcceptDrop = false;
    bool m_bDragOver = false;
    bool m_bInited = false;
    std::uint32_t m_dwBackColor = 0;
    std::uint32_t m_dwBackColor2 = 0;
    std::uint32_t m_dwBorderColor = 0;
    std::uint32_t m_dwFocusBorderColor = 0;
    QMargins m_rcBorderSize;
    QSize m_cxyBorderRound{0, 0};
    QString m_sBkImage;
};

/// control->As<T>() that also takes a null control (as FindControl may return).
template <typename T>
T* ControlAs(CControlUI* control)
{
    return control ? control->As<T>() : nullptr;
}

} // namespace UiLib
