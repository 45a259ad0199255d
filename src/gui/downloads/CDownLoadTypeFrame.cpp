#include "gui/downloads/CDownLoadTypeFrame.h"

#include "download/DownloadAddresses.h"
#include "uilib/CControlUI.h"

namespace ravelo {
namespace {

struct SourceButton
{
    const char* name;
    int bit;
};

constexpr SourceButton kButtons[] = {
    {"Btn_BaiduPan", kSourceCloudDrive},
    {"Btn_Ravelo", kSourceServers},
    {"Btn_NoZip", kSourceUnpacked},
};
constexpr int kRowHeight = 41;

} // namespace

CDownLoadTypeFrame::CDownLoadTypeFrame(int offeredSources)
    : CSkinDialog(QStringLiteral("skin\\xmls\\DownLoadTypeDialog.xml"), QStringLiteral("DownLoadTypeFrame")),
      m_offered(offeredSources)
{
}

int CDownLoadTypeFrame::HiddenHeight(int offeredSources)
{
    int hidden = 0;
    for (const SourceButton& button : kButtons)
        if (!(offeredSources & button.bit))
            hidden += kRowHeight;
    return hidden;
}

void CDownLoadTypeFrame::InitWindow()
{
    for (const SourceButton& button : kButtons)
        if (UiLib::CControlUI* control = Find(QString::fromLatin1(button.name)))
            control->SetVisible((m_offered & button.bit) != 0);
    ShortenBy(HiddenHeight(m_offered));
}

void CDownLoadTypeFrame::OnClick(const QString& name, UiLib::TNotifyUI&)
{
    for (const SourceButton& button : kButtons)
        if (name == QLatin1String(button.name) && (m_offered & button.bit))
            Close(button.bit);
}

} // namespace ravelo
