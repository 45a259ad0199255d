#pragma once

#include "uilib/CPaintManagerUI.h"
#include "uilib/CWindowWnd.h"
#include "uilib/UiDefines.h"

#include <QPoint>

namespace UiLib {

/// The base of every skinned window: a frameless window whose content is built from a layout of the
/// skin (GetSkinFile). It takes its size, minimum and maximum size, caption zone, resize border and
/// shadow from the layout's Window tag; the caption zone drags the window except over controls that
/// take their own input there (CControlUI::TakesCaptionInput). The window is its own notifier
/// and dialog-builder callback; "windowinit" arrives when it is first shown. UI thread only.
class WindowImplBase : public CWindowWnd, public INotifyUI, public IDialogBuilderCallback
{
public:
    WindowImplBase();
    ~WindowImplBase() override;

    /// The layout file ("skin\xmls\MainDialog.xml").
    virtual QString GetSkinFile() = 0;
    /// Called after the layout is attached and before "windowinit".
    virtual void InitWindow() {}
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const QString& className) override;

    CPaintManagerUI& GetPaintManager() { return m_PaintManager; }

protected:
    /// Layout text to build instead of GetSkinFile (for tools and tests); empty by default.
    virtual QString GetSkinXml() { return {}; }
    bool OnCreate() override;
    bool OnHostEvent(QEvent* event) override;
    void OnHostPaint(QPainter& painter, const QRect& rect) override;
    void OnHostDetached() override;
    bool IsDispatching() const override { return m_PaintManager.IsDispatching(); }
    bool IsFrameless() const override { return true; }

    CPaintManagerUI m_PaintManager;

private:
    Qt::Edges SizeBoxEdges(QPoint point) const;
    bool InCaption(QPoint point) const;
    bool HandleFrameMouse(QEvent* event);
    void UpdateShadowMargins();

    bool m_bWindowInitSent = false;
    int m_nShadow = 0;
    // Fallback moving and resizing where the platform cannot do it for us.
    bool m_bManualMove = false;
    Qt::Edges m_manualEdges;
    QPoint m_ptPressGlobal;
    QRect m_rcPressGeometry;
};

} // namespace UiLib
