#include "gui/catalogue/CSuggestionFrame.h"

#include "gui/catalogue/CatalogueWorker.h"
#include "gui/common/GuiMessages.h"
#include "platform/Translate.h"
#include "service/SuggestionRequest.h"
#include "uilib/CControlUI.h"

namespace ravelo {

using namespace UiLib;

CSuggestionFrame::CSuggestionFrame(CatalogueWorker& worker)
    : CSkinDialog(QStringLiteral("skin\\xmls\\SuggestionDialog.xml"), QStringLiteral("SuggestionFrame")),
      m_worker(worker)
{
}

int CSuggestionFrame::ShowModalOver(WindowHandle owner)
{
    return CSkinDialog::ShowModalOver(owner, QString::fromUtf8(Tr("建议与反馈")));
}

QString CSuggestionFrame::StatusText()
{
    CControlUI* status = Find(QStringLiteral("Lb_Status"));
    return status ? status->GetText() : QString();
}

void CSuggestionFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_TEXTCHANGED && msg.pSender &&
        msg.pSender->GetName() == QLatin1String("Ed_Suggestion")) {
        UpdateCount();
        return;
    }
    if (msg.sType == DUI_MSGTYPE_RETURN && msg.pSender) {
        Send();
        return;
    }
    CSkinDialog::Notify(msg);
}

void CSuggestionFrame::OnClick(const QString& name, TNotifyUI&)
{
    if (name == QLatin1String("Btn_Send"))
        Send();
    else if (name == QLatin1String("Btn_Cancel"))
        Close(kDialogClosed);
}

void CSuggestionFrame::UpdateCount()
{
    CControlUI* box = Find(QStringLiteral("Ed_Suggestion"));
    CControlUI* count = Find(QStringLiteral("Lb_Count"));
    if (box && count) {
        const QString text = box->GetText();
        count->SetText(QStringLiteral("%1/%2").arg(text.toStdU32String().size()).arg(kSuggestionMaxChars));
    }
}

void CSuggestionFrame::ShowStatus(const QString& text, bool failure)
{
    if (CControlUI* status = Find(QStringLiteral("Lb_Status"))) {
        status->SetText(text);
        status->SetAttribute(QStringLiteral("textcolor"), failure ? "#FFE5484D" : "#FF2DB46C");
    }
}

void CSuggestionFrame::Send()
{
    if (m_sending)
        return;
    CControlUI* box = Find(QStringLiteral("Ed_Suggestion"));
    CControlUI* contactBox = Find(QStringLiteral("Ed_Contact"));
    const QString content = box ? box->GetText().trimmed() : QString();
    const QString contact = contactBox ? contactBox->GetText().trimmed() : QString();
    if (content.isEmpty()) {
        ShowStatus(QString::fromUtf8(Tr("请先写下您的建议")), true);
        return;
    }
    if (static_cast<int>(content.toStdU32String().size()) > kSuggestionMaxChars) {
        ShowStatus(QString::fromUtf8(Tr("建议最多 500 字")), true);
        return;
    }
    m_sending = true;
    if (CControlUI* send = Find(QStringLiteral("Btn_Send")))
        send->SetEnabled(false);
    if (CControlUI* status = Find(QStringLiteral("Lb_Status"))) {
        status->SetText(QString::fromUtf8(Tr("正在提交...")));
        status->SetAttribute(QStringLiteral("textcolor"), QStringLiteral("#FF6B7385"));
    }
    const WindowHandle window = GetHWND();
    m_worker.Run([window, content = content.toStdString(), contact = contact.toStdString()] {
        std::string failure;
        const bool kept = SendSuggestion(content, contact, failure);
        ravelo::PostMessage(window, kSendResult, kept ? 1 : 0, std::make_unique<std::string>(failure));
    });
}

LRESULT CSuggestionFrame::HandleMessage(Message& message, bool& handled)
{
    if (message.id != kSendResult)
        return CSkinDialog::HandleMessage(message, handled);
    handled = true;
    const std::unique_ptr<std::string> failure = message.TakePayload<std::string>();
    m_sending = false;
    m_sent = message.wParam == 1;
    if (CControlUI* send = Find(QStringLiteral("Btn_Send")))
        send->SetEnabled(true);
    if (m_sent) {
        ShowStatus(QString::fromUtf8(Tr("提交成功，感谢您的建议！")), false);
        if (CControlUI* box = Find(QStringLiteral("Ed_Suggestion")))
            box->SetText(QString());
        UpdateCount();
    } else {
        const QString reason = failure && !failure->empty() ? QString::fromStdString(*failure) : QString();
        ShowStatus(QString::fromUtf8(Tr("提交失败：%1"))
                       .arg(reason.isEmpty() ? QString::fromUtf8(Tr("请求失败")) : reason),
                   true);
    }
    return 0;
}

} // namespace ravelo
