#include "uilib/CTreeNodeUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/CTreeViewUI.h"
#include "uilib/UiParse.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace UiLib {

namespace {
constexpr int kArrowBox = 16;
}

CTreeNodeUI::~CTreeNodeUI()
{
    for (CTreeNodeUI* node : m_pending)
        delete node;
    for (CTreeNodeUI* child : m_childNodes) {
        if (child->m_pParentNode == this)
            child->m_pParentNode = nullptr;
    }
    if (m_pParentNode)
        m_pParentNode->ForgetChild(this);
}

void CTreeNodeUI::ForgetChild(CTreeNodeUI* node)
{
    m_childNodes.erase(std::remove(m_childNodes.begin(), m_childNodes.end(), node), m_childNodes.end());
    m_pending.erase(std::remove(m_pending.begin(), m_pending.end(), node), m_pending.end());
}

QString CTreeNodeUI::GetClass() const
{
    return QStringLiteral("TreeNodeUI");
}

void* CTreeNodeUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CListContainerElementUI::GetInterface(name);
}

bool CTreeNodeUI::Add(CControlUI* control)
{
    if (auto* node = ControlAs<CTreeNodeUI>(control))
        return AddChildNode(node);
    return CListContainerElementUI::Add(control);
}

bool CTreeNodeUI::AddChildNode(CTreeNodeUI* node)
{
    if (!node || node == this)
        return false;
    node->m_pParentNode = this;
    m_childNodes.push_back(node);
    if (m_pTreeView)
        return m_pTreeView->AddChildNode(this, node);
    m_pending.push_back(node);
    return true;
}

int CTreeNodeUI::GetDepth() const
{
    int depth = 0;
    for (CTreeNodeUI* parent = m_pParentNode; parent; parent = parent->m_pParentNode)
        ++depth;
    return depth;
}

bool CTreeNodeUI::IsShownByAncestors() const
{
    for (CTreeNodeUI* parent = m_pParentNode; parent; parent = parent->m_pParentNode) {
        if (!parent->m_bExpanded)
            return false;
    }
    return true;
}

void CTreeNodeUI::Expand(bool expand)
{
    if (m_bExpanded == expand)
        return;
    m_bExpanded = expand;
    std::vector<CTreeNodeUI*> stack(m_childNodes.begin(), m_childNodes.end());
    while (!stack.empty()) {
        CTreeNodeUI* node = stack.back();
        stack.pop_back();
        node->SetVisible(node->IsShownByAncestors());
        stack.insert(stack.end(), node->m_childNodes.begin(), node->m_childNodes.end());
    }
    Invalidate();
}

int CTreeNodeUI::Indent() const
{
    return GetDepth() * (m_pTreeView ? m_pTreeView->GetIndent() : 16);
}

QRect CTreeNodeUI::ArrowRect() const
{
    const TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    const int left = m_rcItem.left() + (info ? info->rcTextPadding.left() : 8) + Indent();
    return QRect(left, m_rcItem.top() + (m_rcItem.height() - kArrowBox) / 2, kArrowBox, kArrowBox);
}

void CTreeNodeUI::DoEvent(TEventUI& event)
{
    if (IsEnabled() && !m_childNodes.empty()) {
        if (event.Type == UIEVENT_DBLCLICK) {
            Expand(!m_bExpanded);
            return;
        }
        if (event.Type == UIEVENT_BUTTONDOWN && ArrowRect().contains(event.ptMouse)) {
            Expand(!m_bExpanded);
            return;
        }
    }
    CListContainerElementUI::DoEvent(event);
}

void CTreeNodeUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("expanded"))
        Expand(Parse::Bool(value));
    else
        CListContainerElementUI::SetAttribute(name, value);
}

void CTreeNodeUI::DrawItemText(QPainter& painter, const QRect& rect)
{
    const TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    const std::uint32_t color = ListItemTextColor(m_pManager, info, m_bSelected, m_bHot, IsEnabled());
    QMargins padding = info ? info->rcTextPadding : QMargins(8, 0, 8, 0);
    padding.setLeft(padding.left() + Indent());
    if (!m_childNodes.empty()) {
        const QRectF box = ArrowRect();
        QPainterPath arrow;
        const QPointF c = box.center();
        if (m_bExpanded) {
            arrow.moveTo(c.x() - 4, c.y() - 2);
            arrow.lineTo(c.x(), c.y() + 2);
            arrow.lineTo(c.x() + 4, c.y() - 2);
        } else {
            arrow.moveTo(c.x() - 2, c.y() - 4);
            arrow.lineTo(c.x() + 2, c.y());
            arrow.lineTo(c.x() - 2, c.y() + 4);
        }
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(QColor::fromRgba(color), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(arrow);
        painter.restore();
        padding.setLeft(padding.left() + kArrowBox + 4);
    }
    if (m_sText.isEmpty())
        return;
    CRenderEngine::DrawText(painter, m_pManager, rect.marginsRemoved(padding), m_sText, color,
                            info ? info->nFont : -1, info ? info->uTextStyle : DT_VCENTER | DT_SINGLELINE);
}

} // namespace UiLib
