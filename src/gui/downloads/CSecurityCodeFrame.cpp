#include "gui/downloads/CSecurityCodeFrame.h"

#include "uilib/CControlUI.h"
#include "uilib/CEditUI.h"
#include "uilib/CPaintManagerUI.h"

namespace ravelo {

using namespace UiLib;

namespace {
constexpr int kCodeLength = 4;
constexpr int kClosedByButton = 8;
} // namespace

CSecurityCodeFrame::CSecurityCodeFrame(std::string imageFile)
    : CSkinDialog(QStringLiteral("skin\\xmls\\SecurityCodeDialog.xml"), QStringLiteral("SecurityCodeFrame")),
      m_imageFile(std::move(imageFile))
{
}

bool CSecurityCodeFrame::IsCompleteCode(const QString& text)
{
    return text.size() == kCodeLength;
}

void CSecurityCodeFrame::InitWindow()
{
    if (CControlUI* picture = Find(QStringLiteral("Ctr_ImgCode"))) {
        // The file is read now, before it can be replaced, and never taken from the picture cache: each
        // round of the exchange brings a new picture under the same name.
        m_PaintManager.RemoveImage(QString::fromStdString(m_imageFile));
        picture->SetBkImage(QString::fromStdString(m_imageFile));
    }
    if (CControlUI* edit = Find(QStringLiteral("Ed_Code")))
        edit->SetFocus();
}

void CSecurityCodeFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_RETURN && msg.pSender &&
        msg.pSender->GetName() == QLatin1String("Ed_Code")) {
        Confirm();
        return;
    }
    CSkinDialog::Notify(msg);
}

int CSecurityCodeFrame::ClosedCode() const
{
    return kClosedByButton;
}

void CSecurityCodeFrame::OnClick(const QString& name, TNotifyUI&)
{
    if (name == QLatin1String("Btn_Ok"))
        Confirm();
}

void CSecurityCodeFrame::Confirm()
{
    CControlUI* edit = Find(QStringLiteral("Ed_Code"));
    if (!edit || !IsCompleteCode(edit->GetText()))
        return; // three or five characters: the window stays
    m_code = edit->GetText().toStdString();
    Close(1);
}

} // namespace ravelo
