#include "gui/play/CReNameFrame.h"

#include "gui/common/GuiMessages.h"
#include "gui/play/MyGameView.h"
#include "platform/Translate.h"
#include "uilib/CEditUI.h"

namespace ravelo {

using namespace UiLib;

CReNameFrame::CReNameFrame(std::u16string currentName)
    : CSkinDialog(QStringLiteral("skin\\xmls\\ReNameDialog.xml"), QStringLiteral("ReNameFrame")),
      m_name(std::move(currentName))
{
}

int CReNameFrame::ShowModalOver(WindowHandle owner)
{
    return CSkinDialog::ShowModalOver(owner, QString::fromUtf8(Tr("游戏重命名")));
}

void CReNameFrame::InitWindow()
{
    if (auto* edit = ControlAs<CEditUI>(Find(QStringLiteral("Ed_GameName")))) {
        edit->SetText(QString::fromStdU16String(m_name));
        edit->SetFocus();
        edit->SetSelAll();
    }
}

void CReNameFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_RETURN && msg.pSender &&
        msg.pSender->GetName() == QLatin1String("Ed_GameName")) {
        Accept();
        return;
    }
    CSkinDialog::Notify(msg);
}

void CReNameFrame::OnClick(const QString& name, TNotifyUI&)
{
    if (name == QLatin1String("Btn_Ok"))
        Accept();
    else if (name == QLatin1String("Btn_Cancel"))
        Close(kDialogClosed);
}

void CReNameFrame::Accept()
{
    CControlUI* edit = Find(QStringLiteral("Ed_GameName"));
    std::u16string name = edit ? edit->GetText().toStdU16String() : std::u16string();
    const char* refusal = nullptr;
    switch (CheckGameName(name)) {
    case NameCheck::Ok:
        m_name = std::move(name);
        Close(kRenamed);
        return;
    case NameCheck::Empty:
        Close(kDialogClosed);
        return;
    case NameCheck::Control:
        refusal = Tr("名称中不能有换行等控制字符");
        break;
    case NameCheck::TooLong:
        refusal = Tr("名称不能超过 64 个字");
        break;
    }
    if (CControlUI* error = Find(QStringLiteral("Lb_Error")))
        error->SetText(QString::fromUtf8(refusal));
}

} // namespace ravelo
