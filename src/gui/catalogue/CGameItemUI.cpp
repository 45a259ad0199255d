#include "gui/catalogue/CGameItemUI.h"

#include "gui/catalogue/CatalogueControls.h"
#include "gui/catalogue/GameTileView.h"
#include "platform/TextConvert.h"
#include "platform/Translate.h"
#include "uilib/CDialogBuilder.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CProgressUI.h"
#include "uilib/UiParse.h"

#include <QPainter>
#include <QPainterPath>

namespace ravelo {

using namespace UiLib;

namespace {

QString Q(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

/// The button's colours for a look: text, background, hot background.
void StyleButton(CControlUI& button, TileButtonStyle style)
{
    struct Colours
    {
        const char* text;
        const char* back;
        const char* hot;
        const char* border;
    };
    static constexpr Colours kStyles[] = {
        {"#FFFFFFFF", "#FFFF6A3D", "#FFFF8259", "#00000000"}, // install
        {"#FFE65528", "#FFFFE9E1", "#FFFFD9CC", "#00000000"}, // busy
        {"#FFE65528", "#FFFFFFFF", "#FFFFF3EE", "#FFFF6A3D"}, // paused
        {"#FFFFFFFF", "#FF2DB46C", "#FF34C47A", "#00000000"}, // play
    };
    const Colours& colours = kStyles[static_cast<int>(style)];
    button.SetAttribute(QStringLiteral("textcolor"), QString::fromLatin1(colours.text));
    button.SetAttribute(QStringLiteral("hottextcolor"), QString::fromLatin1(colours.text));
    button.SetAttribute(QStringLiteral("bkcolor"), QString::fromLatin1(colours.back));
    button.SetAttribute(QStringLiteral("hotbkcolor"), QString::fromLatin1(colours.hot));
    button.SetAttribute(QStringLiteral("bordercolor"), QString::fromLatin1(colours.border));
    button.SetAttribute(QStringLiteral("bordersize"), style == TileButtonStyle::Paused ? "1" : "0");
}

class TileBuilder final : public IDialogBuilderCallback
{
public:
    CControlUI* CreateControl(const QString& tag) override { return CreateCatalogueControl(tag); }
};

} // namespace

CGameItemUI* CGameItemUI::Build(CPaintManagerUI& manager)
{
    TileBuilder callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(QStringLiteral("skin\\xmls\\GameItem.xml"), &callback, &manager);
    auto* tile = ControlAs<CGameItemUI>(root);
    if (!tile)
        delete root;
    return tile;
}

QString CGameItemUI::GetClass() const
{
    return QStringLiteral("GameItemType2UI");
}

void* CGameItemUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CHorizontalLayoutUI::GetInterface(name);
}

void CGameItemUI::SetGame(const CGame& game)
{
    m_game = game;
    if (CControlUI* name = FindSubControl(QStringLiteral("Lb_GameName"))) {
        name->SetText(Q(game.gamename));
        name->SetToolTip(Q(game.gamename));
    }
    if (CControlUI* type = FindSubControl(QStringLiteral("Lb_GameType")))
        type->SetText(Q(TileSubtitle(game)));
    if (CControlUI* stars = FindSubControl(QStringLiteral("Ctr_Stars"))) {
        // The lit stars are the first part of the picture of five stars, 22.75 pixels apart; a half
        // star is lit up to its middle.
        const double rating = TileStars(game.rating);
        const int whole = static_cast<int>(rating);
        const int lit = static_cast<int>(whole * 22.75 + (rating > whole ? 9 : 0));
        stars->SetAttribute(
            QStringLiteral("foreimage"),
            QStringLiteral("file='skin\\ui\\level_foreimage.png' source='0,0,%1,18' dest='0,0,%1,18'")
                .arg(qMax(1, lit)));
        stars->SetVisible(lit > 0);
    }
    ShowState();
}

CControlUI* CGameItemUI::Icon() const
{
    return const_cast<CGameItemUI*>(this)->FindSubControl(QStringLiteral("Ctr_GameIcon"));
}

void CGameItemUI::SetState(int state)
{
    if (!IsTileState(state) || !TileButtonFor(state))
        return;
    m_state = state;
    ShowState();
}

void CGameItemUI::ShowState()
{
    const std::optional<TileButtonLook> look = TileButtonFor(m_state);
    CControlUI* button = FindSubControl(QStringLiteral("Btn_InstallGame"));
    if (button && look) {
        button->SetText(QString::fromUtf8(Tr(look->text)));
        StyleButton(*button, look->style);
    }
    const bool moving = m_state == 2 || m_state == 5;
    if (!moving)
        ShowProgressRows(false);
    Invalidate();
}

void CGameItemUI::SetProgress(bool unpacking, double done, double total)
{
    const std::string text = TileProgressText(unpacking, done, total);
    if (text.empty())
        return;
    if (auto* bar = ControlAs<CProgressUI>(FindSubControl(QStringLiteral("Progress_Download")))) {
        bar->SetMaxValue(1000);
        bar->SetValue(static_cast<int>(qBound(0.0, done / total, 1.0) * 1000));
    }
    if (CControlUI* label = FindSubControl(QStringLiteral("Lb_Progress")))
        label->SetText(QString::fromStdString(text));
    ShowProgressRows(true);
}

void CGameItemUI::ShowProgressRows(bool show)
{
    // The tile has room for four rows: while a transfer runs, its text and bar take the places of
    // the genre line and the rating.
    for (const char* name : {"Progress_Download", "Lb_Progress"})
        if (CControlUI* row = FindSubControl(QString::fromLatin1(name)))
            row->SetVisible(show);
    for (const char* name : {"Lb_GameType", "Ctr_Stars"})
        if (CControlUI* row = FindSubControl(QString::fromLatin1(name)))
            row->SetVisible(!show);
}

void CGameItemUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case UIEVENT_MOUSEENTER:
        if (!m_hot) {
            m_hot = true;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        // Moving from the tile onto one of its parts is not leaving it.
        if (m_hot && !GetPos().contains(event.ptMouse)) {
            m_hot = false;
            Invalidate();
        }
        return;
    case UIEVENT_BUTTONUP:
        if (IsEnabled() && GetPos().contains(event.ptMouse) && m_pManager)
            m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK, 0, 0);
        return;
    case UIEVENT_SETCURSOR:
        if (m_pManager)
            m_pManager->SetCursor(Qt::PointingHandCursor);
        return;
    default:
        CHorizontalLayoutUI::DoEvent(event);
    }
}

void CGameItemUI::RecvMessage(CControlUI* sender, WPARAM, LPARAM)
{
    if (sender && sender->GetName() == QLatin1String("Btn_InstallGame") && m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK, 1, static_cast<LPARAM>(m_state));
}

void CGameItemUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("hotbordcolor"))
        m_hotBorderColor = Parse::Color(value);
    else if (name == QLatin1String("hotbordersize"))
        m_hotBorderSize = qMax(0, value.toInt());
    CHorizontalLayoutUI::SetAttribute(name, value);
}

void CGameItemUI::PaintBorder(QPainter& painter)
{
    if (!m_hot || m_hotBorderSize <= 0) {
        CHorizontalLayoutUI::PaintBorder(painter);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(QColor::fromRgba(m_hotBorderColor));
    pen.setWidth(m_hotBorderSize);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal inset = m_hotBorderSize / 2.0;
    const QRectF rect = QRectF(m_rcItem).adjusted(inset, inset, -inset, -inset);
    painter.drawRoundedRect(rect, m_cxyBorderRound.width() / 2.0, m_cxyBorderRound.height() / 2.0);
    painter.restore();
}

} // namespace ravelo
