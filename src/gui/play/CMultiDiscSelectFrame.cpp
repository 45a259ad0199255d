#include "gui/play/CMultiDiscSelectFrame.h"

#include "uilib/CControlUI.h"

namespace ravelo {

CMultiDiscSelectFrame::CMultiDiscSelectFrame(int discCount)
    : CSkinDialog(QStringLiteral("skin\\xmls\\MultiDiscDialog.xml"), QStringLiteral("MultiDiscSelectFrame")),
      m_count(discCount)
{
}

int CMultiDiscSelectFrame::HiddenHeight(int discCount)
{
    switch (discCount) {
    case 1:
        return 128;
    case 2:
        return 87;
    case 3:
        return 46;
    default:
        return 0;
    }
}

void CMultiDiscSelectFrame::InitWindow()
{
    for (int disc = 2; disc <= 4; ++disc)
        if (UiLib::CControlUI* button = Find(QStringLiteral("Btn_Disc%1").arg(disc)))
            button->SetVisible(disc <= m_count);
    ShortenBy(HiddenHeight(m_count));
}

void CMultiDiscSelectFrame::Notify(UiLib::TNotifyUI& msg)
{
    if (msg.sType == UiLib::DUI_MSGTYPE_WINDOWINIT && m_count < 1) {
        Close(-1); // nothing to choose
        return;
    }
    CSkinDialog::Notify(msg);
}

void CMultiDiscSelectFrame::OnClick(const QString& name, UiLib::TNotifyUI&)
{
    for (int disc = 1; disc <= 4 && disc <= m_count; ++disc)
        if (name == QStringLiteral("Btn_Disc%1").arg(disc))
            Close(disc - 1);
}

} // namespace ravelo
