#include "uilib/CMenuUI.h"

#include "uilib/UiParse.h"

namespace UiLib {

CMenuUI::CMenuUI()
{
    m_rcInset = QMargins(4, 4, 4, 4);
}

QString CMenuUI::GetClass() const
{
    return QStringLiteral("MenuUI");
}

void* CMenuUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CVerticalLayoutUI::GetInterface(name);
}

QSize CMenuUI::EstimateSize(QSize available)
{
    int width = 0;
    int height = m_rcInset.top() + m_rcInset.bottom();
    for (CControlUI* item : m_items) {
        if (!item->IsVisible())
            continue;
        const QSize size = item->EstimateSize(available);
        const QMargins pad = item->GetPadding();
        width = qMax(width, size.width() + pad.left() + pad.right());
        height += size.height() + pad.top() + pad.bottom();
    }
    width += m_rcInset.left() + m_rcInset.right();
    width = qBound(qMax(GetMinWidth(), 120), width, qMax(GetMinWidth(), GetMaxWidth()));
    return QSize(GetFixedWidth() > 0 ? GetFixedWidth() : width,
                 GetFixedHeight() > 0 ? GetFixedHeight() : height);
}

void CMenuUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("itemheight"))
        m_nItemHeight = qMax(1, Parse::Int(value));
    else if (name == QLatin1String("itemfont"))
        m_iItemFont = Parse::Int(value, -1);
    else if (name == QLatin1String("itemtextcolor"))
        m_dwItemTextColor = Parse::Color(value);
    else if (name == QLatin1String("itemhottextcolor"))
        m_dwItemHotTextColor = Parse::Color(value);
    else if (name == QLatin1String("itemhotbkcolor"))
        m_dwItemHotBkColor = Parse::Color(value);
    else if (name == QLatin1String("itemdisabledtextcolor"))
        m_dwItemDisabledTextColor = Parse::Color(value);
    else if (name == QLatin1String("linecolor"))
        m_dwLineColor = Parse::Color(value);
    else
        CVerticalLayoutUI::SetAttribute(name, value);
}

} // namespace UiLib
