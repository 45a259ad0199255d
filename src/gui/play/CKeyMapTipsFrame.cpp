#include "gui/play/CKeyMapTipsFrame.h"

#include "emulator/InputKind.h"
#include "gui/play/KeyMapTips.h"
#include "platform/Translate.h"
#include "settings/AppPaths.h"
#include "systems/SystemTable.h"
#include "uilib/CControlUI.h"
#include "uilib/WinDefines.h"

namespace ravelo {

using namespace UiLib;

namespace {

constexpr int kScreenMargin = 16;

QString SystemChip(const std::string& system)
{
    const std::string code = SystemNumberToCode(std::atoi(system.c_str()));
    return code == "MAMEPLUS" ? QStringLiteral("MAME+") : QString::fromStdString(code);
}

} // namespace

bool CKeyMapTipsFrame::Create(WindowHandle owner)
{
    if (GetHWND())
        return true;
    return WindowImplBase::Create(owner, QString::fromUtf8(Tr("操作提示")),
                                  WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                  WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE) != 0;
}

bool CKeyMapTipsFrame::ShowForGame(const std::string& system, int inputKind)
{
    const std::string file = KeyMapTipsFile(system, inputKind);
    const std::string text = file.empty() ? std::string() : ReadKeyMapTips(FindShippedFile(file));
    // Read leniently: bytes that are not UTF-8 show as replacement characters.
    m_tips = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
    if (m_tips.isEmpty() || !GetHWND()) {
        Hide();
        return false;
    }
    CPaintManagerUI& manager = GetPaintManager();
    if (CControlUI* tips = manager.FindControl(QStringLiteral("Rd_KeyMapTis")))
        tips->SetText(m_tips);
    const bool pad = inputKind == kInputKindGamepad;
    if (CControlUI* kind = manager.FindControl(QStringLiteral("Lb_InputKind")))
        kind->SetText(QString::fromUtf8(pad ? Tr("手柄") : Tr("键盘")));
    if (CControlUI* icon = manager.FindControl(QStringLiteral("Ctr_KindIcon")))
        icon->SetBkImage(pad ? QStringLiteral("skin\\ui\\icon_gamepad.png")
                             : QStringLiteral("skin\\ui\\icon_keyboard.png"));
    if (CControlUI* chip = manager.FindControl(QStringLiteral("Lb_System")))
        chip->SetText(SystemChip(system));
    ShowNoActivate();
    PlaceAtScreenRightEdge(RightEdgeAnchor::Centre, kScreenMargin);
    return true;
}

void CKeyMapTipsFrame::Hide()
{
    if (GetHWND() && IsWindowVisible())
        ShowWindow(false, false);
}

void CKeyMapTipsFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender && msg.pSender->GetName() == QLatin1String("Btn_Close"))
        Hide();
}

LRESULT CKeyMapTipsFrame::HandleMessage(Message& message, bool& handled)
{
    // Closed by the window manager or Alt+F4: hidden, kept for the next game.
    if (message.id == WM_SYSCOMMAND && message.wParam == SC_CLOSE) {
        handled = true;
        Hide();
        return 0;
    }
    return WindowImplBase::HandleMessage(message, handled);
}

} // namespace ravelo
