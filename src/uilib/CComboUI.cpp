#include "uilib/CComboUI.h"

#include "uilib/CComboWnd.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QWidget>

namespace UiLib {

CComboUI::CComboUI() = default;

CComboUI::~CComboUI()
{
    if (m_pWindow) {
        m_pWindow->ForgetOwner();
        m_pWindow->close();
    }
}

QString CComboUI::GetClass() const
{
    return QStringLiteral("ComboUI");
}

void* CComboUI::GetInterface(const QString& name)
{
    if (name == QLatin1String(kInterface.name))
        return this;
    if (name == QLatin1String(IListOwnerUI::kInterface.name))
        return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(name);
}

unsigned CComboUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

IListItemUI* CComboUI::ItemAt(int index) const
{
    CControlUI* control = GetItemAt(index);
    return ControlAs<IListItemUI>(control);
}

bool CComboUI::AddAt(CControlUI* control, int index)
{
    if (!CContainerUI::AddAt(control, index))
        return false;
    if (auto* item = control->As<IListItemUI>())
        item->SetOwner(this);
    for (int i = index; i < GetCount(); ++i) {
        if (IListItemUI* item = ItemAt(i))
            item->SetIndex(i);
    }
    if (m_iCurSel >= index)
        ++m_iCurSel;
    return true;
}

bool CComboUI::RemoveAt(int index, bool doNotDestroy)
{
    if (IListItemUI* item = ItemAt(index))
        item->SetOwner(nullptr);
    if (!CContainerUI::RemoveAt(index, doNotDestroy))
        return false;
    for (int i = index; i < GetCount(); ++i) {
        if (IListItemUI* item = ItemAt(i))
            item->SetIndex(i);
    }
    if (m_iCurSel == index)
        m_iCurSel = -1;
    else if (m_iCurSel > index)
        --m_iCurSel;
    Invalidate();
    return true;
}

void CComboUI::RemoveAll()
{
    CloseDropDown();
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

QString CComboUI::GetText() const
{
    CControlUI* item = GetItemAt(m_iCurSel);
    return item ? item->GetText() : m_sText;
}

bool CComboUI::SelectItem(int index, bool, bool notify)
{
    if (index == m_iCurSel)
        return true;
    if (index >= 0 && !ItemAt(index))
        return false;
    const int old = m_iCurSel;
    if (IListItemUI* previous = ItemAt(old))
        previous->Select(false);
    m_iCurSel = index;
    if (IListItemUI* item = ItemAt(index))
        item->Select(true);
    Invalidate();
    if (notify && m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(index), old);
    return true;
}

bool CComboUI::UnSelectItem(int index, bool notify)
{
    return index == m_iCurSel && SelectItem(-1, false, notify);
}

bool CComboUI::Activate()
{
    if (!CContainerUI::Activate() || m_pWindow || !m_pManager || !m_pManager->GetPaintWindow())
        return false;
    QWidget* host = m_pManager->GetPaintWindow();
    auto* window = new CComboWnd(this, host);
    m_pWindow = window;
    const int width = m_szDropBox.width() > 0 ? m_szDropBox.width() : m_rcItem.width();
    int contentHeight = 2;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = GetItemAt(i);
        if (item->IsVisible())
            contentHeight += qMax(1, item->EstimateSize(QSize(width, 0)).height());
    }
    const int height = m_szDropBox.height() > 0 ? qMin(m_szDropBox.height(), contentHeight) : contentHeight;
    QPoint topLeft = host->mapToGlobal(QPoint(m_rcItem.left(), m_rcItem.top() + m_rcItem.height() + 2));
    if (QScreen* screen = host->screen()) {
        const QRect available = screen->availableGeometry();
        if (topLeft.y() + height > available.bottom())
            topLeft.setY(host->mapToGlobal(QPoint(0, m_rcItem.top())).y() - height - 2);
    }
    window->setGeometry(QRect(topLeft, QSize(width, height)));
    m_state.SetPushed(true);
    Invalidate();
    m_pManager->SendNotify(this, DUI_MSGTYPE_DROPDOWN);
    if (m_pWindow)
        m_pWindow->show();
    return true;
}

void CComboUI::CloseDropDown()
{
    if (m_pWindow)
        m_pWindow->close();
}

void CComboUI::OnDropClosed()
{
    m_pWindow = nullptr;
    m_state.SetPushed(false);
    Invalidate();
}

void CComboUI::SetEnabled(bool enabled)
{
    CContainerUI::SetEnabled(enabled);
    if (!IsEnabled()) {
        CloseDropDown();
        m_state.Reset();
    }
}

void CComboUI::SetPos(QRect rc, bool needInvalidate)
{
    // The items are laid out by the pop-up, not inside the box.
    CControlUI::SetPos(rc, needInvalidate);
}

CControlUI* CComboUI::FindControlAt(QPoint point)
{
    return CControlUI::FindControlAt(point);
}

void CComboUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent)
            m_pParent->DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        CControlUI::DoEvent(event);
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled() && m_rcItem.contains(event.ptMouse))
            Activate();
        return;
    case UIEVENT_BUTTONUP:
        return;
    case UIEVENT_KEYDOWN:
        if (event.chKey == Qt::Key_Up && m_iCurSel > 0) {
            SelectItem(m_iCurSel - 1);
            return;
        }
        if (event.chKey == Qt::Key_Down && m_iCurSel + 1 < GetCount()) {
            SelectItem(m_iCurSel + 1);
            return;
        }
        if (event.chKey == Qt::Key_Space || event.chKey == Qt::Key_Return) {
            Activate();
            return;
        }
        break;
    case UIEVENT_SCROLLWHEEL:
        if (m_pParent)
            m_pParent->DoEvent(event);
        return;
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
        m_state.HandlePointer(*this, event);
        return;
    case UIEVENT_SETCURSOR:
        if (m_pManager)
            m_pManager->SetCursor(IsEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

void CComboUI::SetAttribute(const QString& name, const QString& value)
{
    if (m_ListInfo.SetAttribute(name, value))
        return;
    if (name == QLatin1String("textpadding"))
        m_rcTextPadding = Parse::Margins(value);
    else if (m_state.SetImageAttribute(name, value))
        Invalidate();
    else if (name == QLatin1String("arrowimage"))
        m_sArrowImage = value;
    else if (name == QLatin1String("hotbordercolor"))
        m_dwHotBorderColor = Parse::Color(value);
    else if (name == QLatin1String("dropboxsize"))
        m_szDropBox = Parse::Size(value);
    else if (name == QLatin1String("dropbox")) {
        for (const auto& [key, v] : Parse::AttributeList(value)) {
            if (key == QLatin1String("bkcolor"))
                m_dwDropBkColor = Parse::Color(v);
            else if (key == QLatin1String("bordercolor"))
                m_dwDropBorderColor = Parse::Color(v);
        }
    } else if (name == QLatin1String("selectedid"))
        SelectItem(Parse::Int(value), false, false);
    else
        CContainerUI::SetAttribute(name, value);
}

void CComboUI::DoPaint(QPainter& painter, const QRect& paint)
{
    m_rcPaint = paint.intersected(m_rcItem);
    if (m_rcPaint.isEmpty())
        return;
    PaintBkColor(painter);
    PaintBkImage(painter);

    m_state.Paint(*this, painter);

    const std::uint32_t color =
        IsEnabled() ? (m_ListInfo.dwTextColor ? m_ListInfo.dwTextColor
                                              : (m_pManager ? m_pManager->GetDefaultFontColor() : 0xFF1F2430))
                    : (m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFFA8AFBC);
    CRenderEngine::DrawText(painter, m_pManager, m_rcItem.marginsRemoved(m_rcTextPadding), GetText(), color,
                            m_ListInfo.nFont, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);

    if (!m_sArrowImage.isEmpty()) {
        if (!DrawImage(painter, m_sArrowImage))
            m_sArrowImage.clear();
    } else {
        // A chevron in the text colour at the right edge.
        const QPointF c(m_rcItem.left() + m_rcItem.width() - 16, m_rcItem.top() + m_rcItem.height() / 2.0);
        QPainterPath chevron;
        const qreal flip = m_state.IsPushed() ? -1 : 1;
        chevron.moveTo(c.x() - 4, c.y() - 2 * flip);
        chevron.lineTo(c.x(), c.y() + 2 * flip);
        chevron.lineTo(c.x() + 4, c.y() - 2 * flip);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(QColor::fromRgba(color), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(chevron);
        painter.restore();
    }

    const std::uint32_t border =
        (m_state.IsHot() || m_state.IsPushed() || IsFocused()) && (m_dwHotBorderColor >> 24) != 0
            ? m_dwHotBorderColor
            : m_dwBorderColor;
    if ((border >> 24) != 0 && !m_rcBorderSize.isNull()) {
        if (!m_cxyBorderRound.isEmpty())
            CRenderEngine::DrawRoundBorder(painter, m_rcItem, m_rcBorderSize.left(), m_cxyBorderRound,
                                           border);
        else
            CRenderEngine::DrawBorder(painter, m_rcItem, m_rcBorderSize, border);
    }
}

} // namespace UiLib
