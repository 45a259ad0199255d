#include "uilib/CEditUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace UiLib {

namespace {

QString ColorName(std::uint32_t argb)
{
    const QColor color = QColor::fromRgba(argb);
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alpha());
}

} // namespace

// Tells the edit control when its native box takes the keyboard focus, and when the pointer is over
// the box (the window under it sees the pointer leave then).
class CEditUI::NativeWatcher : public QObject
{
public:
    NativeWatcher(QObject* parent, CEditUI* edit) : QObject(parent), m_edit(edit) {}
    void Forget() { m_edit = nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_edit)
            m_edit->OnNativeEvent(event->type());
        return QObject::eventFilter(watched, event);
    }

private:
    CEditUI* m_edit;
};

CEditUI::CEditUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER;
    m_rcTextPadding = QMargins(8, 0, 8, 0);
    m_state.SetFocusOverHot(true);
}

CEditUI::~CEditUI()
{
    if (m_pEdit) {
        for (QObject* child : m_pEdit->children()) {
            if (auto* watcher = dynamic_cast<NativeWatcher*>(child))
                watcher->Forget();
        }
        m_pEdit->disconnect();
        m_pEdit->hide();
        m_pEdit->deleteLater();
    }
}

QString CEditUI::GetClass() const
{
    return QStringLiteral("EditUI");
}

void* CEditUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CLabelUI::GetInterface(name);
}

unsigned CEditUI::GetControlFlags() const
{
    return IsEnabled() ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : 0;
}

void CEditUI::SetText(const QString& text)
{
    const QString limited = m_iMaxChar > 0 ? text.left(m_iMaxChar) : text;
    m_sText = limited;
    if (m_pEdit && m_pEdit->text() != limited) {
        m_bSettingText = true;
        m_pEdit->setText(limited);
        m_bSettingText = false;
    }
    Invalidate();
}

void CEditUI::SetMaxChar(int max)
{
    m_iMaxChar = max;
    if (m_pEdit)
        m_pEdit->setMaxLength(max > 0 ? max : 32767);
    if (max > 0 && m_sText.size() > max)
        SetText(m_sText.left(max));
}

void CEditUI::SetReadOnly(bool readOnly)
{
    m_bReadOnly = readOnly;
    if (m_pEdit)
        m_pEdit->setReadOnly(readOnly);
}

void CEditUI::SetPasswordMode(bool password)
{
    m_bPassword = password;
    if (m_pEdit)
        m_pEdit->setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
}

void CEditUI::SetNumberOnly(bool numberOnly)
{
    m_bNumberOnly = numberOnly;
    if (m_pEdit)
        m_pEdit->setValidator(numberOnly ? new QRegularExpressionValidator(
                                               QRegularExpression(QStringLiteral("[0-9]*")), m_pEdit)
                                         : nullptr);
}

void CEditUI::SetPromptText(const QString& text)
{
    m_sPrompt = text;
    if (m_pEdit)
        m_pEdit->setPlaceholderText(text);
    Invalidate();
}

void CEditUI::SetSel(int start, int end)
{
    if (m_pEdit)
        m_pEdit->setSelection(start, end < 0 ? m_pEdit->text().size() - start : end - start);
}

void CEditUI::SetSelAll()
{
    if (m_pEdit)
        m_pEdit->selectAll();
}

void CEditUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    CLabelUI::SetManager(manager, parent, init);
    if (init)
        EnsureNative();
}

void CEditUI::EnsureNative()
{
    if (m_pEdit || !m_pManager || !m_pManager->GetPaintWindow())
        return;
    auto* edit = new QLineEdit(m_pManager->GetPaintWindow());
    m_pEdit = edit;
    edit->setFrame(false);
    edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    edit->setMaxLength(m_iMaxChar > 0 ? m_iMaxChar : 32767);
    edit->setReadOnly(m_bReadOnly);
    edit->setEchoMode(m_bPassword ? QLineEdit::Password : QLineEdit::Normal);
    edit->setPlaceholderText(m_sPrompt);
    edit->setEnabled(IsEnabled());
    m_bSettingText = true;
    edit->setText(m_sText);
    m_bSettingText = false;
    SetNumberOnly(m_bNumberOnly);
    ApplyNativeStyle();
    edit->installEventFilter(new NativeWatcher(edit, this));
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this](const QString& text) {
        m_sText = text;
        if (!m_bSettingText && m_pManager)
            m_pManager->SendNotify(this, DUI_MSGTYPE_TEXTCHANGED);
    });
    QObject::connect(edit, &QLineEdit::returnPressed, edit, [this] {
        if (m_pManager)
            m_pManager->SendNotify(this, DUI_MSGTYPE_RETURN);
    });
    UpdateNativeGeometry();
}

void CEditUI::ApplyNativeStyle()
{
    if (!m_pEdit)
        return;
    m_pEdit->setFont(m_pManager ? m_pManager->GetFont(m_iFont) : CPaintManagerUI::DefaultFont());
    const std::uint32_t text = CurrentTextColor();
    QPalette palette = m_pEdit->palette();
    palette.setColor(QPalette::PlaceholderText, QColor::fromRgba(m_dwPromptColor));
    m_pEdit->setPalette(palette);
    m_pEdit->setStyleSheet(
        QStringLiteral("QLineEdit { background: %1; border: none; padding: 0; color: %2; "
                       "selection-background-color: rgba(255,106,61,110); }")
            .arg((m_dwNativeBkColor >> 24) ? ColorName(m_dwNativeBkColor) : QStringLiteral("transparent"),
                 ColorName(text)));
}

void CEditUI::UpdateNativeGeometry()
{
    if (!m_pEdit)
        return;
    // The box shows only where every container above it shows it; otherwise it hides rather than
    // float over other controls.
    QRect visible = m_rcItem;
    for (CControlUI* parent = m_pParent; parent; parent = parent->GetParent())
        visible = visible.intersected(parent->GetPos());
    const QRect inner = m_rcItem.marginsRemoved(m_rcTextPadding);
    const int height = qMin(inner.height(), m_pEdit->sizeHint().height());
    const QRect box(inner.left(), inner.top() + (inner.height() - height) / 2, inner.width(), height);
    const bool show = IsVisible() && !box.isEmpty() && visible.contains(box);
    if (show)
        m_pEdit->setGeometry(box);
    m_pEdit->setVisible(show);
    if (!show && m_pEdit->hasFocus() && m_pManager && m_pManager->GetPaintWindow())
        m_pManager->GetPaintWindow()->setFocus();
}

void CEditUI::OnNativeEvent(QEvent::Type type)
{
    if (type == QEvent::FocusIn && m_pManager && m_pManager->GetFocus() != this) {
        m_pManager->SetFocus(this);
    } else if (type == QEvent::Enter || type == QEvent::Leave) {
        TEventUI event;
        event.Type = type == QEvent::Enter ? UIEVENT_MOUSEENTER : UIEVENT_MOUSELEAVE;
        event.pSender = this;
        m_state.HandlePointer(*this, event);
    }
}

void CEditUI::SetPos(QRect rc, bool needInvalidate)
{
    CLabelUI::SetPos(rc, needInvalidate);
    EnsureNative();
    UpdateNativeGeometry();
}

void CEditUI::SetVisible(bool visible)
{
    CLabelUI::SetVisible(visible);
    UpdateNativeGeometry();
}

void CEditUI::SetInternVisible(bool visible)
{
    CLabelUI::SetInternVisible(visible);
    UpdateNativeGeometry();
}

void CEditUI::SetEnabled(bool enabled)
{
    CLabelUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_state.Reset();
    if (m_pEdit) {
        m_pEdit->setEnabled(enabled);
        ApplyNativeStyle();
    }
}

void CEditUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent)
            m_pParent->DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (m_pManager)
            m_pManager->SetCursor(IsEnabled() ? Qt::IBeamCursor : Qt::ArrowCursor);
        return;
    case UIEVENT_SETFOCUS:
        if (m_pEdit && IsEnabled() && !m_pEdit->hasFocus())
            m_pEdit->setFocus(Qt::OtherFocusReason);
        CLabelUI::DoEvent(event);
        return;
    case UIEVENT_KILLFOCUS:
        if (m_pEdit && m_pEdit->hasFocus() && m_pManager && m_pManager->GetPaintWindow())
            m_pManager->GetPaintWindow()->setFocus(Qt::OtherFocusReason);
        CLabelUI::DoEvent(event);
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (m_pEdit && IsEnabled()) {
            m_pEdit->setFocus(Qt::MouseFocusReason);
            if (event.Type == UIEVENT_DBLCLICK)
                m_pEdit->selectAll();
        }
        return;
    case UIEVENT_BUTTONUP:
    case UIEVENT_MOUSEMOVE:
        return;
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
        m_state.HandlePointer(*this, event);
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("maxchar"))
        SetMaxChar(Parse::Int(value));
    else if (name == QLatin1String("readonly"))
        SetReadOnly(Parse::Bool(value));
    else if (name == QLatin1String("password"))
        SetPasswordMode(Parse::Bool(value));
    else if (name == QLatin1String("numberonly"))
        SetNumberOnly(Parse::Bool(value));
    else if (name == QLatin1String("prompttext") || name == QLatin1String("tipvalue"))
        SetPromptText(value);
    else if (name == QLatin1String("prompttextcolor") || name == QLatin1String("tipvaluecolor")) {
        m_dwPromptColor = Parse::Color(value);
        ApplyNativeStyle();
    } else if (name == QLatin1String("nativebkcolor")) {
        m_dwNativeBkColor = Parse::Color(value);
        ApplyNativeStyle();
    } else if (m_state.SetImageAttribute(name, value)) {
        Invalidate();
    } else {
        CLabelUI::SetAttribute(name, value);
        if (name == QLatin1String("font") || name == QLatin1String("textcolor") ||
            name == QLatin1String("disabledtextcolor"))
            ApplyNativeStyle();
        else if (name == QLatin1String("textpadding"))
            UpdateNativeGeometry();
    }
}

void CEditUI::PaintStatusImage(QPainter& painter)
{
    m_state.Paint(*this, painter);
}

void CEditUI::PaintText(QPainter& painter)
{
    // With a native box the text is its business; without one (painting a layout into a picture)
    // the control draws its text or prompt itself.
    if (m_pEdit && m_pEdit->isVisible())
        return;
    const QRect rect = m_rcItem.marginsRemoved(m_rcTextPadding);
    if (m_sText.isEmpty()) {
        CRenderEngine::DrawText(painter, m_pManager, rect, m_sPrompt, m_dwPromptColor, m_iFont, m_uTextStyle);
        return;
    }
    const QString shown = m_bPassword ? QString(m_sText.size(), QChar(0x25CF)) : m_sText;
    CRenderEngine::DrawText(painter, m_pManager, rect, shown, CurrentTextColor(), m_iFont,
                            m_uTextStyle | DT_END_ELLIPSIS);
}

} // namespace UiLib
