#include "uilib/CHorizontalLayoutUI.h"

#include "uilib/LayoutMath.h"

namespace UiLib {

QString CHorizontalLayoutUI::GetClass() const
{
    return QStringLiteral("HorizontalLayoutUI");
}

void* CHorizontalLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(QRect rc, bool needInvalidate)
{
    CControlUI::SetPos(rc, needInvalidate);
    const QRect content = ContentRect();
    const QSize needed = LayoutLine(m_items, content, GetScrollPos(), m_iChildPadding, m_uChildAlign,
                                    m_uChildVAlign, false, [this](CControlUI* item) { SetFloatPos(item); });
    ProcessScrollBar(content, needed.width(), needed.height());
}

} // namespace UiLib
