#include "gui/settings/CUpdateAskFrame.h"

#include "uilib/CControlUI.h"
#include "uilib/WinDefines.h"

namespace ravelo {

using namespace UiLib;

CUpdateAskFrame::CUpdateAskFrame(UpdateAnswer answer)
    : CSkinDialog(QStringLiteral("skin\\xmls\\UpdateAskDialog.xml"), QStringLiteral("UpdateAskFrame")),
      m_answer(std::move(answer))
{
}

bool CUpdateAskFrame::Ask(WindowHandle owner)
{
    return ShowModalOver(owner, QString::fromStdString(UpdateQuestionCaption(m_answer))) == IDYES;
}

void CUpdateAskFrame::InitWindow()
{
    if (CControlUI* caption = Find(QStringLiteral("Lb_Caption")))
        caption->SetText(QString::fromStdString(UpdateQuestionCaption(m_answer)));
    // The release notes are shown unchanged, below the heading and one empty line.
    if (CControlUI* notes = Find(QStringLiteral("Rd_Description")))
        notes->SetText(QString::fromStdString(UpdateQuestionText(m_answer)));
}

void CUpdateAskFrame::OnClick(const QString& name, TNotifyUI&)
{
    if (name == QLatin1String("Btn_Yes"))
        Close(IDYES);
    else if (name == QLatin1String("Btn_No"))
        Close(IDNO);
}

} // namespace ravelo
