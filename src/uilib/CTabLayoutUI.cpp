#include "uilib/CTabLayoutUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/UiParse.h"

namespace UiLib {

QString CTabLayoutUI::GetClass() const
{
    return QStringLiteral("TabLayoutUI");
}

void* CTabLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::Add(CControlUI* control)
{
    return AddAt(control, GetCount());
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index)
{
    if (!CContainerUI::AddAt(control, index))
        return false;
    if (m_iCurSel < 0) {
        m_iCurSel = index;
        control->SetVisible(true);
    } else {
        if (index <= m_iCurSel)
            ++m_iCurSel;
        control->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control, bool doNotDestroy)
{
    const int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index, doNotDestroy);
}

bool CTabLayoutUI::RemoveAt(int index, bool doNotDestroy)
{
    if (!CContainerUI::RemoveAt(index, doNotDestroy))
        return false;
    if (index == m_iCurSel) {
        m_iCurSel = -1;
        if (GetCount() > 0)
            SelectItem(qMin(index, GetCount() - 1));
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

bool CTabLayoutUI::SelectItem(int index)
{
    if (index < 0 || index >= GetCount())
        return false;
    if (index == m_iCurSel)
        return true;
    const int old = m_iCurSel;
    m_iCurSel = index;
    for (int i = 0; i < GetCount(); ++i)
        GetItemAt(i)->SetVisible(i == index);
    NeedUpdate();
    if (m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_TABSELECT, static_cast<WPARAM>(index), old);
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* control)
{
    return SelectItem(GetItemIndex(control));
}

void CTabLayoutUI::SetPos(QRect rc, bool needInvalidate)
{
    CControlUI::SetPos(rc, needInvalidate);
    const QRect content = ContentRect();
    for (CControlUI* item : m_items) {
        if (!item->IsVisible())
            continue;
        if (item->IsFloat()) {
            SetFloatPos(item);
            continue;
        }
        item->SetPos(content.marginsRemoved(item->GetPadding()));
    }
}

void CTabLayoutUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("selectedid"))
        SelectItem(Parse::Int(value));
    else
        CContainerUI::SetAttribute(name, value);
}

} // namespace UiLib
