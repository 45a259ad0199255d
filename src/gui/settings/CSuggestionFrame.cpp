#include "gui/settings/CSuggestionFrame.h"

#include "gui/settings/SettingsView.h"
#include "platform/Translate.h"
#include "settings/AppPaths.h"
#include "uilib/CControlUI.h"
#include "uilib/UiDefines.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"

#include <QUrl>

namespace ravelo {

using namespace UiLib;

CSuggestionFrame::CSuggestionFrame()
    : CSkinDialog(QStringLiteral("skin\\xmls\\SuggestionDialog.xml"), QStringLiteral("CSuggestionFrame"))
{
}

void CSuggestionFrame::InitWindow()
{
    if (CControlUI* version = Find(QStringLiteral("Tx_Version")))
        version->SetText(QStringLiteral("v") + QString::fromUtf8(AppVersion));
}

void CSuggestionFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_LINK && msg.pSender &&
        msg.pSender->GetName() == QLatin1String("Tx_bbsUrl")) {
        const std::string address = LinkAddress(msg.pSender->GetText().toStdString());
        if (!IsWebAddress(address) || !OpenUrl(QUrl(QString::fromStdString(address)))) {
            MessageBox(GetHWND(), QString::fromUtf8(Tr("无法打开该链接")), QString::fromUtf8(Tr("提示")),
                       MB_OK | MB_ICONWARNING);
        }
        return;
    }
    CSkinDialog::Notify(msg); // Btn_Close ends with 8; Btn_Ok does nothing
}

std::string LinkAddress(const std::string& text)
{
    std::string address;
    std::size_t i = 0;
    while (i < text.size()) {
        const char open = text[i];
        const char close = open == '<' ? '>' : open == '{' ? '}' : 0;
        const std::size_t end = close ? text.find(close, i) : std::string::npos;
        if (end != std::string::npos) {
            i = end + 1; // a tag of the markup
            continue;
        }
        address += text[i++];
    }
    const std::size_t first = address.find_first_not_of(" \t");
    const std::size_t last = address.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : address.substr(first, last - first + 1);
}

} // namespace ravelo
