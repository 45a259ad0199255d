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
    return name == QLatin1String("Text") ? this : CLabelUI::GetInterface(name);
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
    if (!m_bShowHtml || !m_pHtml || !IsEnabled()) {
        CLabelUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_MOUSEENTER: {
        const int link = m_pHtml->LinkAt(event.ptMouse);
        if (link != m_nHoverLink) {
            m_nHoverLink = link;
            Invalidate();
        }
        if (m_pManager)
            m_pManager->SetCursor(link >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return;
    }
    case UIEVENT_MOUSELEAVE:
        if (m_nHoverLink >= 0) {
            m_nHoverLink = -1;
            Invalidate();
        }
        return;
    case UIEVENT_SETCURSOR:
        if (m_pManager)
            m_pManager->SetCursor(m_pHtml->LinkAt(event.ptMouse) >= 0 ? Qt::PointingHandCursor
                                                                      : Qt::ArrowCursor);
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        m_nPressedLink = m_pHtml->LinkAt(event.ptMouse);
        if (m_nPressedLink >= 0)
            return;
        break;
    case UIEVENT_BUTTONUP: {
        const int pressed = m_nPressedLink;
        m_nPressedLink = -1;
        if (pressed >= 0) {
            if (m_pHtml->LinkAt(event.ptMouse) == pressed && m_pManager)
                m_pManager->SendNotify(this, DUI_MSGTYPE_LINK, static_cast<WPARAM>(pressed));
            return;
        }
        break;
    }
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CTextUI::PaintText(QPainter& painter)
{
    DrawLabelText(painter, m_rcItem.marginsRemoved(m_rcTextPadding), CurrentTextColor(), m_iFont,
                  m_nHoverLink);
}

} // namespace UiLib
