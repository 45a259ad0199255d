#include "uilib/CTextUI.h"

#include "uilib/CHtmlText.h"
#include "uilib/CPaintManagerUI.h"

namespace UiLib {

CTextUI::CTextUI()
{
    m_uTextStyle = DT_WORDBREAK;
}

QString CTextUI::GetClass() const
{
    return QStringLiteral("TextUI");
}

void* CTextUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CLabelUI::GetInterface(name);
}

unsigned CTextUI::GetControlFlags() const
{
    return IsEnabled() && m_bShowHtml && GetLinkCount() > 0 ? UIFLAG_SETCURSOR : 0;
}

int CTextUI::GetLinkCount() const
{
    return m_pHtml ? static_cast<int>(m_pHtml->Links().size()) : 0;
}

QString CTextUI::GetLinkContent(int index) const
{
    if (!m_pHtml || index < 0 || index >= m_pHtml->Links().size())
        return {};
    return m_pHtml->Links().at(index);
}

void CTextUI::DoEvent(TEventUI& event)
{
    if (m_bShowHtml && m_pHtml && IsEnabled() && m_links.HandleEvent(*this, *m_pHtml, event))
        return;
    CLabelUI::DoEvent(event);
}

void CTextUI::PaintText(QPainter& painter)
{
    DrawLabelText(painter, m_rcItem.marginsRemoved(m_rcTextPadding), CurrentTextColor(), m_iFont,
                  m_links.HoverLink());
}

} // namespace UiLib
