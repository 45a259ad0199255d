#include "uilib/CControlUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"
#include "uilib/WinDefines.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace UiLib {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI()
{
    if (m_pManager)
        m_pManager->ForgetControl(this);
}

QString CControlUI::GetName() const
{
    return m_sName;
}

void CControlUI::SetName(const QString& name)
{
    if (m_sName == name)
        return;
    if (m_pManager)
        m_pManager->RenameControl(this, m_sName, name);
    m_sName = name;
}

QString CControlUI::GetClass() const
{
    return QStringLiteral("ControlUI");
}

void* CControlUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : nullptr;
}

unsigned CControlUI::GetControlFlags() const
{
    return 0;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    m_pManager = manager;
    m_pParent = parent;
    if (init && manager)
        Init();
}

QString CControlUI::GetText() const
{
    return m_sText;
}

void CControlUI::SetText(const QString& text)
{
    if (m_sText == text)
        return;
    m_sText = text;
    Invalidate();
}

void CControlUI::SetBkColor(std::uint32_t argb)
{
    if (m_dwBackColor == argb)
        return;
    m_dwBackColor = argb;
    Invalidate();
}

void CControlUI::SetBkColor2(std::uint32_t argb)
{
    if (m_dwBackColor2 == argb)
        return;
    m_dwBackColor2 = argb;
    Invalidate();
}

void CControlUI::SetBkImage(const QString& description)
{
    if (m_sBkImage == description)
        return;
    m_sBkImage = description;
    Invalidate();
}

void CControlUI::SetBorderColor(std::uint32_t argb)
{
    if (m_dwBorderColor == argb)
        return;
    m_dwBorderColor = argb;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(std::uint32_t argb)
{
    if (m_dwFocusBorderColor == argb)
        return;
    m_dwFocusBorderColor = argb;
    Invalidate();
}

void CControlUI::SetBorderSize(int size)
{
    SetBorderSize(QMargins(size, size, size, size));
}

void CControlUI::SetBorderSize(const QMargins& sizes)
{
    m_rcBorderSize = sizes;
    Invalidate();
}

void CControlUI::SetBorderRound(QSize round)
{
    m_cxyBorderRound = round;
    Invalidate();
}

bool CControlUI::DrawImage(QPainter& painter, const QString& description, const QString& modify)
{
    return CRenderEngine::DrawImageString(painter, m_pManager, m_rcItem, m_rcPaint, description, modify);
}

void CControlUI::SetPos(QRect rc, bool needInvalidate)
{
    if (rc.width() < 0)
        rc.setWidth(0);
    if (rc.height() < 0)
        rc.setHeight(0);
    if (needInvalidate && m_rcItem != rc)
        Invalidate();
    m_rcItem = rc;
    m_bUpdateNeeded = false;
    if (needInvalidate)
        Invalidate();
}

void CControlUI::SetPadding(const QMargins& padding)
{
    m_rcPadding = padding;
    NeedParentUpdate();
}

void CControlUI::SetFixedXY(QPoint xy)
{
    m_cXY = xy;
    if (m_bFloat)
        NeedParentUpdate();
}

void CControlUI::SetFixedWidth(int cx)
{
    if (cx < 0)
        return;
    m_cxyFixed.setWidth(cx);
    NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0)
        return;
    m_cxyFixed.setHeight(cy);
    NeedParentUpdate();
}

void CControlUI::SetMinWidth(int cx)
{
    if (cx < 0)
        return;
    m_cxyMin.setWidth(cx);
    NeedParentUpdate();
}

void CControlUI::SetMaxWidth(int cx)
{
    if (cx < 0)
        return;
    m_cxyMax.setWidth(cx);
    NeedParentUpdate();
}

void CControlUI::SetMinHeight(int cy)
{
    if (cy < 0)
        return;
    m_cxyMin.setHeight(cy);
    NeedParentUpdate();
}

void CControlUI::SetMaxHeight(int cy)
{
    if (cy < 0)
        return;
    m_cxyMax.setHeight(cy);
    NeedParentUpdate();
}

QString CControlUI::GetVirtualWnd() const
{
    if (!m_sVirtualWnd.isEmpty())
        return m_sVirtualWnd;
    return m_pParent ? m_pParent->GetVirtualWnd() : QString();
}

void CControlUI::SetVisible(bool visible)
{
    if (m_bVisible == visible)
        return;
    const bool wasVisible = IsVisible();
    m_bVisible = visible;
    if (!visible)
        m_bFocused = false;
    if (!visible && m_pManager && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
    if (IsVisible() != wasVisible)
        NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool visible)
{
    m_bInternVisible = visible;
    if (!visible && m_pManager && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
}

void CControlUI::SetEnabled(bool enabled)
{
    if (m_bEnabled == enabled)
        return;
    m_bEnabled = enabled;
    if (!enabled && m_pManager && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
    Invalidate();
}

void CControlUI::SetMouseEnabled(bool enabled)
{
    m_bMouseEnabled = enabled;
}

void CControlUI::SetFocus()
{
    if (m_pManager)
        m_pManager->SetFocus(this);
}

void CControlUI::SetAcceptDrop(bool accept)
{
    m_bAcceptDrop = accept;
    if (accept && m_pManager)
        m_pManager->EnableDrops();
}

void CControlUI::SetDragOver(bool over)
{
    if (m_bDragOver == over)
        return;
    m_bDragOver = over;
    Invalidate();
}

void CControlUI::SetFloat(bool isFloat)
{
    if (m_bFloat == isFloat)
        return;
    m_bFloat = isFloat;
    NeedParentUpdate();
}

CControlUI* CControlUI::FindControlAt(QPoint point)
{
    if (!IsVisible() || !IsMouseEnabled() || !m_rcItem.contains(point))
        return nullptr;
    return this;
}

CControlUI* CControlUI::FindControlIf(const std::function<bool(CControlUI*)>& visit)
{
    return visit(this) ? this : nullptr;
}

void CControlUI::Invalidate()
{
    if (!IsVisible() || !m_pManager)
        return;
    QRect rc = m_rcItem;
    for (CControlUI* parent = m_pParent; parent; parent = parent->GetParent()) {
        rc = rc.intersected(parent->GetPos());
        if (rc.isEmpty())
            return;
    }
    m_pManager->Invalidate(rc);
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible())
        return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager)
        m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (m_pParent) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    } else {
        NeedUpdate();
    }
    if (m_pManager)
        m_pManager->NeedUpdate();
}

void CControlUI::Init()
{
    if (m_bInited)
        return;
    m_bInited = true;
    DoInit();
}

void CControlUI::DoInit() {}

void CControlUI::Event(TEventUI& event)
{
    DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (m_pManager)
            m_pManager->SetCursor(Qt::ArrowCursor);
        return;
    case UIEVENT_SETFOCUS:
        m_bFocused = true;
        Invalidate();
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        Invalidate();
        return;
    case UIEVENT_TIMER:
        if (m_pManager)
            m_pManager->SendNotify(this, DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
        return;
    case UIEVENT_CONTEXTMENU:
        if (IsContextMenuUsed() && m_pManager) {
            m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, PackPoint(event.ptMouse), 0);
            return;
        }
        break;
    default:
        break;
    }
    if (m_pParent)
        m_pParent->DoEvent(event);
}

void CControlUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("pos")) {
        const QRect rc = Parse::Rect(value);
        SetFixedXY(rc.topLeft());
        SetFixedWidth(qMax(0, rc.width()));
        SetFixedHeight(qMax(0, rc.height()));
    } else if (name == QLatin1String("padding")) {
        SetPadding(Parse::Margins(value));
    } else if (name == QLatin1String("bkcolor") || name == QLatin1String("bkcolor1")) {
        SetBkColor(Parse::Color(value));
    } else if (name == QLatin1String("bkcolor2")) {
        SetBkColor2(Parse::Color(value));
    } else if (name == QLatin1String("bordercolor")) {
        SetBorderColor(Parse::Color(value));
    } else if (name == QLatin1String("focusbordercolor")) {
        SetFocusBorderColor(Parse::Color(value));
    } else if (name == QLatin1String("bordersize")) {
        if (value.contains(u','))
            SetBorderSize(Parse::Margins(value));
        else
            SetBorderSize(Parse::Int(value));
    } else if (name == QLatin1String("leftbordersize")) {
        m_rcBorderSize.setLeft(Parse::Int(value));
    } else if (name == QLatin1String("topbordersize")) {
        m_rcBorderSize.setTop(Parse::Int(value));
    } else if (name == QLatin1String("rightbordersize")) {
        m_rcBorderSize.setRight(Parse::Int(value));
    } else if (name == QLatin1String("bottombordersize")) {
        m_rcBorderSize.setBottom(Parse::Int(value));
    } else if (name == QLatin1String("borderround")) {
        SetBorderRound(Parse::Size(value));
    } else if (name == QLatin1String("bkimage")) {
        SetBkImage(value);
    } else if (name == QLatin1String("width")) {
        SetFixedWidth(Parse::Int(value));
    } else if (name == QLatin1String("height")) {
        SetFixedHeight(Parse::Int(value));
    } else if (name == QLatin1String("minwidth")) {
        SetMinWidth(Parse::Int(value));
    } else if (name == QLatin1String("minheight")) {
        SetMinHeight(Parse::Int(value));
    } else if (name == QLatin1String("maxwidth")) {
        SetMaxWidth(Parse::Int(value));
    } else if (name == QLatin1String("maxheight")) {
        SetMaxHeight(Parse::Int(value));
    } else if (name == QLatin1String("name")) {
        SetName(value);
    } else if (name == QLatin1String("text")) {
        SetText(value);
    } else if (name == QLatin1String("tooltip")) {
        SetToolTip(value);
    } else if (name == QLatin1String("userdata")) {
        SetUserData(value);
    } else if (name == QLatin1String("tag")) {
        SetTag(static_cast<std::uintptr_t>(Parse::Int(value)));
    } else if (name == QLatin1String("enabled")) {
        SetEnabled(Parse::Bool(value));
    } else if (name == QLatin1String("mouse")) {
        SetMouseEnabled(Parse::Bool(value));
    } else if (name == QLatin1String("keyboard")) {
        SetKeyboardEnabled(Parse::Bool(value));
    } else if (name == QLatin1String("visible")) {
        SetVisible(Parse::Bool(value));
    } else if (name == QLatin1String("float")) {
        SetFloat(Parse::Bool(value));
    } else if (name == QLatin1String("menu")) {
        SetContextMenuUsed(Parse::Bool(value));
    } else if (name == QLatin1String("acceptdrop")) {
        SetAcceptDrop(Parse::Bool(value));
    } else if (name == QLatin1String("virtualwnd")) {
        SetVirtualWnd(value);
    }
}

void CControlUI::ApplyAttributeList(const QString& list)
{
    for (const auto& [name, value] : Parse::AttributeList(list))
        SetAttribute(name, value);
}

QSize CControlUI::EstimateSize(QSize)
{
    return m_cxyFixed;
}

void CControlUI::DoPaint(QPainter& painter, const QRect& paint)
{
    m_rcPaint = paint.intersected(m_rcItem);
    if (m_rcPaint.isEmpty())
        return;
    PaintBkColor(painter);
    PaintBkImage(painter);
    PaintStatusImage(painter);
    PaintText(painter);
    PaintBorder(painter);
}

void CControlUI::PaintBkColor(QPainter& painter)
{
    if ((m_dwBackColor >> 24) == 0)
        return;
    if ((m_dwBackColor2 >> 24) != 0) {
        QLinearGradient gradient(m_rcItem.topLeft(), m_rcItem.bottomLeft());
        gradient.setColorAt(0, QColor::fromRgba(m_dwBackColor));
        gradient.setColorAt(1, QColor::fromRgba(m_dwBackColor2));
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, !m_cxyBorderRound.isEmpty());
        painter.setPen(Qt::NoPen);
        painter.setBrush(gradient);
        painter.drawRoundedRect(QRectF(m_rcItem), m_cxyBorderRound.width() / 2.0,
                                m_cxyBorderRound.height() / 2.0);
        painter.restore();
        return;
    }
    CRenderEngine::DrawRoundColor(painter, m_rcItem, m_cxyBorderRound, m_dwBackColor);
}

void CControlUI::PaintBkImage(QPainter& painter)
{
    if (m_sBkImage.isEmpty())
        return;
    // A rounded control keeps its picture inside its corners.
    const bool rounded = !m_cxyBorderRound.isEmpty();
    if (rounded) {
        QPainterPath corners;
        corners.addRoundedRect(QRectF(m_rcItem), m_cxyBorderRound.width() / 2.0,
                               m_cxyBorderRound.height() / 2.0);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setClipPath(corners, Qt::IntersectClip);
    }
    const bool drawn = DrawImage(painter, m_sBkImage);
    if (rounded)
        painter.restore();
    if (!drawn)
        m_sBkImage.clear();
}

void CControlUI::PaintStatusImage(QPainter&) {}

void CControlUI::PaintText(QPainter&) {}

void CControlUI::PaintBorder(QPainter& painter)
{
    const std::uint32_t color =
        (m_bFocused && (m_dwFocusBorderColor >> 24) != 0) ? m_dwFocusBorderColor : m_dwBorderColor;
    if ((color >> 24) == 0 || m_rcBorderSize.isNull())
        return;
    if (!m_cxyBorderRound.isEmpty() && m_rcBorderSize.left() == m_rcBorderSize.top() &&
        m_rcBorderSize.left() == m_rcBorderSize.right() && m_rcBorderSize.left() == m_rcBorderSize.bottom()) {
        CRenderEngine::DrawRoundBorder(painter, m_rcItem, m_rcBorderSize.left(), m_cxyBorderRound, color);
        return;
    }
    CRenderEngine::DrawBorder(painter, m_rcItem, m_rcBorderSize, color);
}

} // namespace UiLib
