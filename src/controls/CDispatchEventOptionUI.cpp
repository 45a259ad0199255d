#include "controls/CDispatchEventOptionUI.h"

#include "controls/CDispatchEventButtonUI.h"

#include "uilib/UiParse.h"

namespace ravelo {

using namespace UiLib;

QString CDispatchEventOptionUI::GetClass() const
{
    return QStringLiteral("DispatchEventOptionUI");
}

void* CDispatchEventOptionUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : COptionUI::GetInterface(name);
}

void CDispatchEventOptionUI::SetSelectedFont(int font)
{
    m_iSelectedFont = font;
    Invalidate();
}

void CDispatchEventOptionUI::DoEvent(TEventUI& event)
{
    DispatchClickEvent(
        *this, m_state, event,
        [this] {
            if (!m_bCheckedSelf)
                return;
            if (!GetGroup().isEmpty())
                Selected(true, false);
            else
                Selected(!IsSelected(), false);
        },
        [this](TEventUI& e) { CLabelUI::DoEvent(e); });
}

void CDispatchEventOptionUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("checkedself"))
        m_bCheckedSelf = Parse::Bool(value);
    else if (name == QLatin1String("selectedfont"))
        SetSelectedFont(Parse::Int(value, -1));
    COptionUI::SetAttribute(name, value);
}

void CDispatchEventOptionUI::PaintText(QPainter& painter)
{
    const bool selected = IsSelected();
    const int font = selected && m_iSelectedFont != -1 ? m_iSelectedFont : m_iFont;
    DrawLabelText(painter, m_rcItem.marginsRemoved(m_rcTextPadding), StateTextColor(), font);
}

} // namespace ravelo
