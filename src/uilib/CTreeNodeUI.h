#pragma once

#include "uilib/CListContainerElementUI.h"

#include <vector>

namespace UiLib {

class CTreeViewUI;

/// A node of a tree view: a list item with a text ("text"), child nodes nested in the layout, and an
/// expanded state ("expanded", default true). Clicking the arrow (or double-clicking the node)
/// expands or collapses it; a press sends "itemclick" like any list item.
class CTreeNodeUI : public CListContainerElementUI
{
public:
    static constexpr TInterfaceName<CTreeNodeUI> kInterface{"TreeNode"};

    ~CTreeNodeUI() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    /// A nested node becomes a child node; any other control joins the node's row.
    bool Add(CControlUI* control) override;
    bool AddChildNode(CTreeNodeUI* node);
    CTreeNodeUI* GetParentNode() const { return m_pParentNode; }
    const std::vector<CTreeNodeUI*>& GetChildNodes() const { return m_childNodes; }
    int GetDepth() const;
    CTreeViewUI* GetTreeView() const { return m_pTreeView; }
    bool IsExpanded() const { return m_bExpanded; }
    void Expand(bool expand = true);
    /// Visible unless an ancestor is collapsed.
    bool IsShownByAncestors() const;

    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void DrawItemText(QPainter& painter, const QRect& rect) override;

private:
    friend class CTreeViewUI;
    void SetTreeView(CTreeViewUI* tree) { m_pTreeView = tree; }
    QRect ArrowRect() const;
    int Indent() const;
    void ForgetChild(CTreeNodeUI* node);

    CTreeViewUI* m_pTreeView = nullptr;
    CTreeNodeUI* m_pParentNode = nullptr;
    std::vector<CTreeNodeUI*> m_childNodes;
    std::vector<CTreeNodeUI*> m_pending; ///< child nodes owned here until the node joins a tree
    bool m_bExpanded = true;
};

} // namespace UiLib
