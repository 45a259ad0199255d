#include "uilib/CLabelUI.h"

#include "uilib/CHtmlText.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

#include <QPainter>

namespace UiLib {

CLabelUI::CLabelUI() = default;

CLabelUI::~CLabelUI() = default;

QString CLabelUI::GetClass() const
{
    return QStringLiteral("LabelUI");
}

void* CLabelUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CControlUI::GetInterface(name);
}

void CLabelUI::SetText(const QString& text)
{
    if (m_sText == text)
        return;
    CControlUI::SetText(text);
    if (m_bAutoCalcWidth)
        NeedParentUpdate();
}

void CLabelUI::SetTextStyle(unsigned style)
{
    m_uTextStyle = style;
    Invalidate();
}

void CLabelUI::SetTextColor(std::uint32_t argb)
{
    m_dwTextColor = argb;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(std::uint32_t argb)
{
    m_dwDisabledTextColor = argb;
    Invalidate();
}

void CLabelUI::SetFont(int index)
{
    m_iFont = index;
    Invalidate();
}

void CLabelUI::SetTextPadding(const QMargins& padding)
{
    m_rcTextPadding = padding;
    Invalidate();
}

void CLabelUI::SetShowHtml(bool showHtml)
{
    m_bShowHtml = showHtml;
    Invalidate();
}

void CLabelUI::SetAutoCalcWidth(bool autoCalc)
{
    m_bAutoCalcWidth = autoCalc;
    NeedParentUpdate();
}

int CLabelUI::MeasureTextWidth() const
{
    if (m_bShowHtml) {
        CHtmlText html;
        html.Update(m_pManager, m_sText, m_iFont, 0, false);
        return html.Size().width();
    }
    return CRenderEngine::MeasureText(m_pManager, m_sText, m_iFont, DT_SINGLELINE).width();
}

QSize CLabelUI::EstimateSize(QSize available)
{
    if (m_bAutoCalcWidth && m_cxyFixed.width() == 0) {
        const int width = MeasureTextWidth() + m_rcTextPadding.left() + m_rcTextPadding.right();
        return QSize(width, m_cxyFixed.height());
    }
    return CControlUI::EstimateSize(available);
}

void CLabelUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("align")) {
        if (value.contains(QLatin1String("left"))) {
            m_uTextStyle &= ~(DT_CENTER | DT_RIGHT);
        }
        if (value.contains(QLatin1String("center"))) {
            m_uTextStyle &= ~DT_RIGHT;
            m_uTextStyle |= DT_CENTER;
        }
        if (value.contains(QLatin1String("right"))) {
            m_uTextStyle &= ~DT_CENTER;
            m_uTextStyle |= DT_RIGHT;
        }
        if (value.contains(QLatin1String("top")))
            m_uTextStyle &= ~(DT_BOTTOM | DT_VCENTER);
        if (value.contains(QLatin1String("bottom"))) {
            m_uTextStyle &= ~DT_VCENTER;
            m_uTextStyle |= DT_BOTTOM;
        }
        Invalidate();
    } else if (name == QLatin1String("valign")) {
        m_uTextStyle &= ~(DT_BOTTOM | DT_VCENTER);
        if (value == QLatin1String("vcenter") || value == QLatin1String("center"))
            m_uTextStyle |= DT_VCENTER;
        else if (value == QLatin1String("bottom"))
            m_uTextStyle |= DT_BOTTOM;
        Invalidate();
    } else if (name == QLatin1String("endellipsis")) {
        if (Parse::Bool(value))
            m_uTextStyle |= DT_END_ELLIPSIS;
        else
            m_uTextStyle &= ~DT_END_ELLIPSIS;
        Invalidate();
    } else if (name == QLatin1String("wordbreak") || name == QLatin1String("multiline")) {
        if (Parse::Bool(value)) {
            m_uTextStyle &= ~DT_SINGLELINE;
            m_uTextStyle |= DT_WORDBREAK;
        } else {
            m_uTextStyle |= DT_SINGLELINE;
            m_uTextStyle &= ~DT_WORDBREAK;
        }
        Invalidate();
    } else if (name == QLatin1String("font")) {
        SetFont(Parse::Int(value, -1));
    } else if (name == QLatin1String("textcolor")) {
        SetTextColor(Parse::Color(value));
    } else if (name == QLatin1String("disabledtextcolor")) {
        SetDisabledTextColor(Parse::Color(value));
    } else if (name == QLatin1String("textpadding")) {
        SetTextPadding(Parse::Margins(value));
    } else if (name == QLatin1String("showhtml")) {
        SetShowHtml(Parse::Bool(value));
    } else if (name == QLatin1String("autocalcwidth")) {
        SetAutoCalcWidth(Parse::Bool(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

std::uint32_t CLabelUI::CurrentTextColor() const
{
    if (!IsEnabled()) {
        if (m_dwDisabledTextColor)
            return m_dwDisabledTextColor;
        return m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFFA8AFBC;
    }
    if (m_dwTextColor)
        return m_dwTextColor;
    return m_pManager ? m_pManager->GetDefaultFontColor() : 0xFF1F2430;
}

CHtmlText& CLabelUI::Html()
{
    if (!m_pHtml)
        m_pHtml = std::make_unique<CHtmlText>();
    return *m_pHtml;
}

void CLabelUI::DrawLabelText(QPainter& painter, const QRect& rect, std::uint32_t color, int font, int hotLink)
{
    if (m_sText.isEmpty())
        return;
    if (m_bShowHtml) {
        CHtmlText& html = Html();
        html.Update(m_pManager, m_sText, font, rect.width(), !(m_uTextStyle & DT_SINGLELINE));
        html.Draw(painter, rect, color, m_uTextStyle, hotLink);
        return;
    }
    CRenderEngine::DrawText(painter, m_pManager, rect, m_sText, color, font, m_uTextStyle);
}

void CLabelUI::PaintText(QPainter& painter)
{
    DrawLabelText(painter, m_rcItem.marginsRemoved(m_rcTextPadding), CurrentTextColor(), m_iFont);
}

} // namespace UiLib
