#include "gui/common/CSkinDialog.h"

#include "gui/common/GuiMessages.h"
#include "uilib/CControlUI.h"
#include "uilib/UiDefines.h"
#include "uilib/WinDefines.h"

namespace ravelo {

using namespace UiLib;

CSkinDialog::CSkinDialog(QString skinFile, QString className)
    : m_skinFile(std::move(skinFile)), m_className(std::move(className))
{
}

int CSkinDialog::ShowModalOver(WindowHandle owner, const QString& title)
{
    if (!Create(owner, title, UI_WNDSTYLE_DIALOG, WS_EX_WINDOWEDGE))
        return -1;
    CenterWindow();
    return ShowModal();
}

void CSkinDialog::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        const QString name = msg.pSender->GetName();
        if (name == QLatin1String("Btn_Close"))
            Close(ClosedCode());
        else
            OnClick(name, msg);
    }
}

void CSkinDialog::OnClick(const QString&, TNotifyUI&) {}

int CSkinDialog::ClosedCode() const
{
    return kDialogClosed;
}

LRESULT CSkinDialog::HandleMessage(Message& message, bool& handled)
{
    if (message.id == WM_KEYDOWN && message.wParam == static_cast<WPARAM>(Qt::Key_Escape)) {
        handled = true;
        Close(ClosedCode());
        return 0;
    }
    return WindowImplBase::HandleMessage(message, handled);
}

void CSkinDialog::ShortenBy(int pixels)
{
    const QSize size = m_PaintManager.GetInitSize();
    ResizeClient(size.width(), qMax(1, size.height() - qMax(0, pixels)));
    CenterWindow();
}

} // namespace ravelo
