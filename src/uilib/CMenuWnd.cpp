#include "uilib/CMenuWnd.h"

#include "uilib/CControlUI.h"
#include "uilib/CMenuElementUI.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

namespace UiLib {

CMenuWnd::CMenuWnd(QString layout, IDialogBuilderCallback* callback)
    : m_sLayout(std::move(layout)), m_pCallback(callback)
{
}

QString CMenuWnd::TrackPopupMenu(ravelo::WindowHandle owner, const QString& layout, QPoint globalPos,
                                 IDialogBuilderCallback* callback)
{
    CMenuWnd menu(layout, callback);
    if (!menu.Init(owner, globalPos, false))
        return {};
    menu.ShowModal();
    return menu.GetChosen();
}

bool CMenuWnd::Init(ravelo::WindowHandle owner, QPoint globalPos, bool show)
{
    if (!Create(owner, QStringLiteral("Menu"), WS_POPUP, WS_EX_TOOLWINDOW))
        return false;
    CControlUI* root = m_PaintManager.GetRoot();
    QSize size = root ? root->EstimateSize(QSize(9999, 9999)) : QSize(120, 30);
    if (size.isEmpty())
        size = QSize(120, 30);
    QRect geometry(globalPos, size);
    if (QScreen* screen = QGuiApplication::screenAt(globalPos)) {
        const QRect available = screen->availableGeometry();
        if (geometry.right() > available.right())
            geometry.moveRight(globalPos.x());
        if (geometry.bottom() > available.bottom())
            geometry.moveBottom(globalPos.y());
        geometry.moveLeft(qMax(available.left(), geometry.left()));
        geometry.moveTop(qMax(available.top(), geometry.top()));
    }
    GetWidget()->setGeometry(geometry);
    if (show)
        ShowWindow(true, true);
    return true;
}

void CMenuWnd::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_ITEMCLICK && msg.pSender && msg.pSender->As<CMenuElementUI>()) {
        m_sChosen = msg.pSender->GetName();
        Close(IDOK);
    }
}

CControlUI* CMenuWnd::CreateControl(const QString& className)
{
    return m_pCallback ? m_pCallback->CreateControl(className) : nullptr;
}

LRESULT CMenuWnd::HandleMessage(ravelo::Message& message, bool& handled)
{
    // Losing the pop-up (a click elsewhere) dismisses the menu.
    if (message.id == WM_SHOWWINDOW && message.wParam == 0) {
        handled = true;
        Close(IDCANCEL);
    } else if (message.id == WM_KEYDOWN && message.wParam == static_cast<WPARAM>(Qt::Key_Escape)) {
        handled = true;
        Close(IDCANCEL);
    }
    return 0;
}

} // namespace UiLib
