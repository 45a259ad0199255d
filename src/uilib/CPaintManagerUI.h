#pragma once

#include "uilib/CControlTimers.h"
#include "uilib/CDefaultAttributes.h"
#include "uilib/CDropTarget.h"
#include "uilib/CFontTable.h"
#include "uilib/CImageCache.h"
#include "uilib/COptionGroups.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiDefines.h"

#include <QHash>
#include <QMargins>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <deque>
#include <vector>

class QEvent;
class QPainter;

namespace UiLib {

class CControlUI;

/// One per window: owns the control tree, lays it out and paints it on the window's widget, turns
/// the widget's input into control events and sends notifications to the window. The window's
/// resources (fonts, pictures, default attributes, option groups, per-control timers) live in their
/// own small classes; the manager keeps them together and forgets a control in all of them when it
/// leaves. UI thread only.
class CPaintManagerUI
{
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    /// Binds the manager to the widget it paints on; the widget forwards its events to HandleEvent.
    void Init(QWidget* host);
    /// The widget is going away: timers stop and pending work is dropped; the controls stay until
    /// the manager is destroyed, so a window may still read them after it closed.
    void Detach();
    QWidget* GetPaintWindow() const { return m_pHost; }

    /// The program's folder (with a trailing separator).
    static QString GetInstancePath();
    static void SetInstancePath(const QString& path);
    /// The font used where a layout declares none: WenQuanYi Micro Hei, 13 pixels.
    static const QFont& DefaultFont() { return CFontTable::DefaultFont(); }
    /// Loads a picture by skin name or file path; null when it cannot be read.
    static QPixmap LoadImage(const QString& file) { return CImageCache::LoadImage(file); }

    // Window attributes from the layout's Window tag.
    QSize GetInitSize() const { return m_szInitWindowSize; }
    void SetInitSize(QSize size) { m_szInitWindowSize = size; }
    QMargins GetSizeBox() const { return m_rcSizeBox; }
    void SetSizeBox(const QMargins& box) { m_rcSizeBox = box; }
    /// The caption zone as left inset, top, right inset and bottom (from the window's top).
    QMargins GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const QMargins& caption) { m_rcCaption = caption; }
    QSize GetRoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(QSize round) { m_szRoundCorner = round; }
    QSize GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(QSize size) { m_szMinWindow = size; }
    QSize GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(QSize size) { m_szMaxWindow = size; }
    bool IsShowShadow() const { return m_bShowShadow; }
    void SetShowShadow(bool show) { m_bShowShadow = show; }
    int GetShadowSize() const { return m_nShadowSize; }
    void SetShadowSize(int size) { m_nShadowSize = qBound(0, size, 64); }
    std::uint32_t GetShadowColor() const { return m_dwShadowColor; }
    void SetShadowColor(std::uint32_t argb) { m_dwShadowColor = argb; }
    std::uint32_t GetDefaultFontColor() const { return m_dwDefaultFontColor; }
    void SetDefaultFontColor(std::uint32_t argb) { m_dwDefaultFontColor = argb; }
    std::uint32_t GetDefaultDisabledColor() const { return m_dwDefaultDisabledColor; }
    void SetDefaultDisabledColor(std::uint32_t argb) { m_dwDefaultDisabledColor = argb; }
    std::uint32_t GetDefaultLinkFontColor() const { return m_dwDefaultLinkFontColor; }
    void SetDefaultLinkFontColor(std::uint32_t argb) { m_dwDefaultLinkFontColor = argb; }
    std::uint32_t GetDefaultLinkHoverFontColor() const { return m_dwDefaultLinkHoverFontColor; }
    void SetDefaultLinkHoverFontColor(std::uint32_t argb) { m_dwDefaultLinkHoverFontColor = argb; }
    std::uint32_t GetDefaultSelectedBkColor() const { return m_dwDefaultSelectedBkColor; }
    void SetDefaultSelectedBkColor(std::uint32_t argb) { m_dwDefaultSelectedBkColor = argb; }

    // The control tree.
    /// Takes ownership of the root, registers names and initialises every control.
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return m_pRoot; }
    /// Registers a subtree that joined the window (names, then DoInit children first).
    void InitControls(CControlUI* control, CControlUI* parent);
    /// Forgets every reference to a subtree that leaves the window (focus, hover, timers, names).
    void ReapObjects(CControlUI* control);
    /// Forgets one control; called from its destructor.
    void ForgetControl(CControlUI* control);
    /// Destroys a removed control once no event is being dispatched.
    void AddDelayedCleanup(CControlUI* control);
    void RenameControl(CControlUI* control, const QString& oldName, const QString& newName);
    CControlUI* FindControl(const QString& name) const;
    CControlUI* FindControl(QPoint point) const;
    CControlUI* FindSubControlByName(CControlUI* parent, const QString& name) const;
    CControlUI* FindSubControlByClass(CControlUI* parent, const QString& className, int index = 0) const;

    // Notifications.
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    /// Hands a notification to every notifier now, or after the current event when async.
    void SendNotify(TNotifyUI& msg, bool async = false);
    void SendNotify(CControlUI* control, const QString& type, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool async = false);

    // Focus, hover and the cursor.
    CControlUI* GetFocus() const { return m_pFocus; }
    void SetFocus(CControlUI* control);
    /// Moves the focus to the next (or previous) tab stop; false when there is none.
    bool SetNextTabControl(bool forward = true);
    CControlUI* GetHover() const { return m_pEventHover; }
    void SetCursor(Qt::CursorShape shape);

    /// Lets the widget take drags from the file manager; a control that accepts drops calls it.
    void EnableDrops();
    /// The control files are dragged over now, or null.
    CControlUI* GetDropTarget() const { return m_dropTarget.GetTarget(); }

    // Per-control timers; the control receives UIEVENT_TIMER with the id in wParam.
    bool SetTimer(CControlUI* control, unsigned id, unsigned elapseMs)
    {
        return m_timers.Set(control, id, elapseMs);
    }
    bool KillTimer(CControlUI* control, unsigned id) { return m_timers.Kill(control, id); }
    void KillTimer(CControlUI* control) { m_timers.Kill(control); }
    void RemoveAllTimers() { m_timers.KillAll(); }
    bool HasTimer(CControlUI* control, unsigned id) const { return m_timers.Has(control, id); }

    // Option groups.
    void AddOptionGroup(const QString& group, CControlUI* control) { m_optionGroups.Add(group, control); }
    std::vector<CControlUI*> GetOptionGroup(const QString& group) const { return m_optionGroups.Get(group); }
    void RemoveOptionGroup(const QString& group, CControlUI* control)
    {
        m_optionGroups.Remove(group, control);
    }

    // Fonts, by the index of the layout's Font table; -1 or an unknown index is the default font.
    void AddFont(int id, const QString& family, int pixelSize, bool bold, bool underline, bool italic,
                 bool isDefault)
    {
        m_fonts.AddFont(id, family, pixelSize, bold, underline, italic, isDefault);
    }
    const QFont& GetFont(int id) const { return m_fonts.GetFont(id); }
    const QFontMetrics& GetFontMetrics(int id) const { return m_fonts.GetFontMetrics(id); }

    // Default attributes per control class name ("Button", "VScrollBar").
    void AddDefaultAttributeList(const QString& controlName, const QString& list)
    {
        m_defaultAttributes.Add(controlName, list);
    }
    QString GetDefaultAttributeList(const QString& controlName) const
    {
        return m_defaultAttributes.Get(controlName);
    }

    // The window's picture cache.
    QPixmap GetImage(const QString& file) const { return m_images.GetImage(file); }
    /// The cached picture, loading it first when needed; null when it cannot be loaded.
    QPixmap GetImageEx(const QString& file) { return m_images.GetImageEx(file); }
    QPixmap AddImage(const QString& file) { return m_images.AddImage(file); }
    bool RemoveImage(const QString& file) { return m_images.RemoveImage(file); }
    void RemoveAllImages() { m_images.RemoveAllImages(); }
    int GetImageCount() const { return m_images.GetImageCount(); }
    TDrawInfo GetDrawInfo(const QString& description) { return m_images.GetDrawInfo(description); }

    // Layout and painting.
    void NeedUpdate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void Invalidate(const QRect& rect);
    void Invalidate();
    /// Lays the tree out now when something changed or the window was resized.
    void UpdateLayout();
    /// The area the root fills: the widget minus the shadow margins.
    QRect GetClientRect() const;
    void SetClientMargins(const QMargins& margins);
    void Paint(QPainter& painter, const QRect& rect);

    /// Input, timer, tooltip and resize events of the host widget; true when consumed.
    bool HandleEvent(QEvent* event);
    /// True while an event or notification is being dispatched.
    bool IsDispatching() const { return m_nDispatchDepth > 0; }

private:
    void SendEvent(CControlUI* control, int type, QPoint point, Qt::KeyboardModifiers modifiers,
                   WPARAM wParam = 0, LPARAM lParam = 0, int key = 0);
    void UpdateHover(QPoint point, Qt::KeyboardModifiers modifiers);
    void FlushDelayedCleanup();
    void ScheduleFlush();
    void FlushAsyncNotify();
    void RegisterNames(CControlUI* control);

    QPointer<QWidget> m_pHost;
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    CControlUI* m_pEventRClick = nullptr;
    QHash<QString, CControlUI*> m_names;
    std::vector<INotifyUI*> m_notifiers;
    std::deque<TNotifyUI> m_asyncNotify;
    std::vector<CControlUI*> m_delayedCleanup;
    bool m_bFlushScheduled = false;
    int m_nDispatchDepth = 0;
    bool m_bUpdateNeeded = true;
    bool m_bLayingOut = false;
    bool m_bLayoutRequested = false;
    QRect m_rcLastLayout;
    QMargins m_rcClientMargins;
    Qt::CursorShape m_cursor = Qt::ArrowCursor;

    CControlTimers m_timers;
    COptionGroups m_optionGroups;
    CFontTable m_fonts;
    CDefaultAttributes m_defaultAttributes;
    CImageCache m_images;
    CDropTarget m_dropTarget{*this};
    bool m_bDropsEnabled = false;

    QSize m_szInitWindowSize{0, 0};
    QMargins m_rcSizeBox;
    QMargins m_rcCaption;
    QSize m_szRoundCorner{0, 0};
    QSize m_szMinWindow{0, 0};
    QSize m_szMaxWindow{0, 0};
    bool m_bShowShadow = false;
    int m_nShadowSize = 12;
    std::uint32_t m_dwShadowColor = 0x50000000;
    std::uint32_t m_dwDefaultFontColor = 0xFF1F2430;
    std::uint32_t m_dwDefaultDisabledColor = 0xFFA8AFBC;
    std::uint32_t m_dwDefaultLinkFontColor = 0xFF2F7FE0;
    std::uint32_t m_dwDefaultLinkHoverFontColor = 0xFF1F5FB0;
    std::uint32_t m_dwDefaultSelectedBkColor = 0xFFFFE3D8;
};

} // namespace UiLib
