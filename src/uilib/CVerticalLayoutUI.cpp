#include "uilib/CVerticalLayoutUI.h"

#include "uilib/LayoutMath.h"

namespace UiLib {

QString CVerticalLayoutUI::GetClass() const
{
    return QStringLiteral("VerticalLayoutUI");
}

void* CVerticalLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(QRect rc, bool needInvalidate)
{
    CControlUI::SetPos(rc, needInvalidate);
    const QRect content = ContentRect();
    const QSize needed = LayoutLine(m_items, content, GetScrollPos(), m_iChildPadding, m_uChildAlign,
                                    m_uChildVAlign, true, [this](CControlUI* item) { SetFloatPos(item); });
    ProcessScrollBar(content, needed.width(), needed.height());
}

} // namespace UiLib
