#include "uilib/CRichEditUI.h"

#include "uilib/CHtmlText.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CScrollBarUI.h"
#include "uilib/UiParse.h"

#include <QPainter>

namespace UiLib {

CRichEditUI::CRichEditUI() : m_pHtml(std::make_unique<CHtmlText>())
{
    EnableScrollBar(true, false);
}

CRichEditUI::~CRichEditUI() = default;

QString CRichEditUI::GetClass() const
{
    return QStringLiteral("RichEditUI");
}

void* CRichEditUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CContainerUI::GetInterface(name);
}

void CRichEditUI::SetText(const QString& text)
{
    if (m_sText == text)
        return;
    m_sText = text;
    m_links.Reset();
    SetScrollPos(QPoint(0, 0));
    NeedUpdate();
}

void CRichEditUI::AppendText(const QString& text)
{
    m_sText += text;
    NeedUpdate();
}

void CRichEditUI::SetRich(bool rich)
{
    m_bRich = rich;
    NeedUpdate();
}

void CRichEditUI::SetFont(int font)
{
    m_iFont = font;
    NeedUpdate();
}

void CRichEditUI::SetTextColor(std::uint32_t argb)
{
    m_dwTextColor = argb;
    Invalidate();
}

int CRichEditUI::GetLinkCount() const
{
    return static_cast<int>(m_pHtml->Links().size());
}

QString CRichEditUI::GetLinkContent(int index) const
{
    const QStringList links = m_pHtml->Links();
    return index >= 0 && index < links.size() ? links.at(index) : QString();
}

QRect CRichEditUI::TextRect() const
{
    return ContentRect().marginsRemoved(m_rcTextPadding);
}

void CRichEditUI::UpdateDocument()
{
    m_pHtml->Update(m_pManager, m_sText, m_iFont, qMax(1, TextRect().width()), m_bWordBreak, !m_bRich);
}

int CRichEditUI::GetTextHeight()
{
    UpdateDocument();
    return m_pHtml->Size().height();
}

void CRichEditUI::SetPos(QRect rc, bool needInvalidate)
{
    CControlUI::SetPos(rc, needInvalidate);
    UpdateDocument();
    const QRect content = ContentRect();
    const int needed = m_pHtml->Size().height() + m_rcTextPadding.top() + m_rcTextPadding.bottom();
    ProcessScrollBar(content, 0, needed);
}

void CRichEditUI::DoEvent(TEventUI& event)
{
    if (m_links.HandleEvent(*this, *m_pHtml, event))
        return;
    // Presses that miss a link do not go further: the text is not editable.
    if (event.Type == UIEVENT_BUTTONDOWN || event.Type == UIEVENT_DBLCLICK || event.Type == UIEVENT_BUTTONUP)
        return;
    CContainerUI::DoEvent(event);
}

void CRichEditUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("rich"))
        SetRich(Parse::Bool(value));
    else if (name == QLatin1String("font"))
        SetFont(Parse::Int(value, -1));
    else if (name == QLatin1String("textcolor"))
        SetTextColor(Parse::Color(value));
    else if (name == QLatin1String("textpadding"))
        m_rcTextPadding = Parse::Margins(value);
    else if (name == QLatin1String("wordbreak") || name == QLatin1String("multiline"))
        m_bWordBreak = Parse::Bool(value);
    else if (name == QLatin1String("readonly") || name == QLatin1String("autovscroll") ||
             name == QLatin1String("wantreturn") || name == QLatin1String("wantctrlreturn"))
        return; // always read-only; these belong to editable rich text
    else
        CContainerUI::SetAttribute(name, value);
}

void CRichEditUI::DoPaint(QPainter& painter, const QRect& paint)
{
    m_rcPaint = paint.intersected(m_rcItem);
    if (m_rcPaint.isEmpty())
        return;
    CControlUI::DoPaint(painter, paint);
    UpdateDocument();
    const QRect text = TextRect();
    const int scroll = GetScrollPos().y();
    const QRect shifted(text.left(), text.top() - scroll, text.width(),
                        qMax(text.height() + scroll, m_pHtml->Size().height()));
    const std::uint32_t color =
        m_dwTextColor ? m_dwTextColor : (m_pManager ? m_pManager->GetDefaultFontColor() : 0xFF1F2430);
    painter.save();
    painter.setClipRect(ContentRect().intersected(m_rcPaint), Qt::IntersectClip);
    m_pHtml->Draw(painter, shifted, color, DT_LEFT | DT_TOP, m_links.HoverLink());
    painter.restore();
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
        m_pVerticalScrollBar->DoPaint(painter, m_rcPaint);
}

} // namespace UiLib
