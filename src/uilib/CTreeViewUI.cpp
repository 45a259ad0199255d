#include "uilib/CTreeViewUI.h"

#include "uilib/CTreeNodeUI.h"
#include "uilib/UiParse.h"

namespace UiLib {

namespace {

CTreeNodeUI* AsNode(CControlUI* control)
{
    return ControlAs<CTreeNodeUI>(control);
}

} // namespace

QString CTreeViewUI::GetClass() const
{
    return QStringLiteral("TreeViewUI");
}

void* CTreeViewUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CListUI::GetInterface(name);
}

int CTreeViewUI::LastDescendantIndex(CTreeNodeUI* node) const
{
    int index = GetItemIndex(node);
    for (CTreeNodeUI* child : node->GetChildNodes()) {
        if (GetItemIndex(child) >= 0)
            index = qMax(index, LastDescendantIndex(child));
    }
    return index;
}

bool CTreeViewUI::AddAt(CControlUI* control, int index)
{
    CTreeNodeUI* node = AsNode(control);
    if (node)
        node->SetTreeView(this);
    if (!CListUI::AddAt(control, index))
        return false;
    if (node) {
        node->SetVisible(node->IsShownByAncestors());
        std::vector<CTreeNodeUI*> pending;
        pending.swap(node->m_pending);
        for (CTreeNodeUI* child : pending) {
            if (!AddChildNode(node, child))
                delete child;
        }
    }
    return true;
}

bool CTreeViewUI::AddChildNode(CTreeNodeUI* parent, CTreeNodeUI* node)
{
    const int parentIndex = GetItemIndex(parent);
    if (parentIndex < 0 || !node)
        return false;
    // The node is already listed among parent's children; insert it after the last one placed.
    int after = parentIndex;
    for (CTreeNodeUI* child : parent->GetChildNodes()) {
        if (child != node && GetItemIndex(child) >= 0)
            after = qMax(after, LastDescendantIndex(child));
    }
    return AddAt(node, after + 1);
}

bool CTreeViewUI::RemoveAt(int index, bool doNotDestroy)
{
    CTreeNodeUI* node = AsNode(GetItemAt(index));
    if (node) {
        // Descendants go first, deepest last in the list first.
        const int last = LastDescendantIndex(node);
        for (int i = last; i > index; --i)
            CListUI::RemoveAt(i, doNotDestroy);
        node->SetTreeView(nullptr);
    }
    return CListUI::RemoveAt(index, doNotDestroy);
}

void CTreeViewUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("indent"))
        m_nIndent = qMax(0, Parse::Int(value));
    else
        CListUI::SetAttribute(name, value);
}

} // namespace UiLib
