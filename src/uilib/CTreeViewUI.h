#pragma once

#include "uilib/CListUI.h"

namespace UiLib {

class CTreeNodeUI;

/// A list of tree nodes: each node is followed by its child nodes, indented by "indent" pixels per
/// level (default 16). Removing a node removes its descendants.
class CTreeViewUI : public CListUI
{
public:
    static constexpr TInterfaceName<CTreeViewUI> kInterface{"TreeView"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    bool AddAt(CControlUI* control, int index) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    /// Inserts a node as a child of parent (after parent's last descendant).
    bool AddChildNode(CTreeNodeUI* parent, CTreeNodeUI* node);
    int GetIndent() const { return m_nIndent; }

    void SetAttribute(const QString& name, const QString& value) override;

private:
    int LastDescendantIndex(CTreeNodeUI* node) const;
    int m_nIndent = 16;
};

} // namespace UiLib
