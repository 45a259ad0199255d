#include "gui/catalogue/CWeekHotSpecialUI.h"

#include "gui/common/PictureSlots.h"
#include "platform/Translate.h"
#include "uilib/CLabelUI.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CVerticalLayoutUI.h"
#include "uilib/UiParse.h"

namespace ravelo {

using namespace UiLib;

QString CWeekHotSpecialUI::GetClass() const
{
    return QStringLiteral("WeekHotSpecialUI");
}

void* CWeekHotSpecialUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CHorizontalLayoutUI::GetInterface(name);
}

void CWeekHotSpecialUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("maxcards"))
        m_maxCards = qMax(1, Parse::Int(value, 4));
    CHorizontalLayoutUI::SetAttribute(name, value);
}

void CWeekHotSpecialUI::DoInit()
{
    CHorizontalLayoutUI::DoInit();
    SetMouseChildEnabled(false); // the cards are pictures; the strip takes the clicks
}

void CWeekHotSpecialUI::SetTopics(const std::vector<CSpecialTopic>& topics, PictureSlots& pictures)
{
    for (int i = 0; i < GetCount(); ++i)
        pictures.Forget(GetItemAt(i));
    RemoveAll();
    m_topics.assign(topics.begin(), topics.begin() + std::min<std::size_t>(topics.size(), m_maxCards));
    for (const CSpecialTopic& topic : m_topics) {
        auto* card = new CVerticalLayoutUI;
        card->SetAttribute(QStringLiteral("bkcolor"), QStringLiteral("#FF3A4254"));
        card->SetAttribute(QStringLiteral("inset"), QStringLiteral("14,0,14,8"));
        card->SetAttribute(QStringLiteral("childvalign"), QStringLiteral("bottom"));
        auto* title = new CLabelUI;
        title->SetAttribute(QStringLiteral("height"), QStringLiteral("22"));
        title->SetAttribute(QStringLiteral("font"), QStringLiteral("3"));
        title->SetAttribute(QStringLiteral("textcolor"), QStringLiteral("#FFFFFFFF"));
        title->SetAttribute(QStringLiteral("endellipsis"), QStringLiteral("true"));
        title->SetText(QString::fromStdU16String(topic.name));
        card->Add(title);
        if (!topic.count.empty()) {
            auto* count = new CLabelUI;
            count->SetAttribute(QStringLiteral("height"), QStringLiteral("16"));
            count->SetAttribute(QStringLiteral("font"), QStringLiteral("1"));
            count->SetAttribute(QStringLiteral("textcolor"), QStringLiteral("#E6FFFFFF"));
            count->SetText(QString::fromUtf8(Tr("共 %1 款游戏")).arg(QString::fromStdString(topic.count)));
            card->Add(count);
        }
        card->SetToolTip(QString::fromStdU16String(topic.desc));
        Add(card);
        pictures.Request(card, topic.icon.empty() ? topic.banner : topic.icon);
    }
}

const CSpecialTopic* CWeekHotSpecialUI::TopicAt(int index) const
{
    return index >= 0 && index < TopicCount() ? &m_topics[static_cast<std::size_t>(index)] : nullptr;
}

CControlUI* CWeekHotSpecialUI::CardAt(int index) const
{
    return index >= 0 && index < GetCount() ? GetItemAt(index) : nullptr;
}

void CWeekHotSpecialUI::DoEvent(TEventUI& event)
{
    if (event.Type == UIEVENT_SETCURSOR) {
        if (m_pManager)
            m_pManager->SetCursor(Qt::PointingHandCursor);
        return;
    }
    if (event.Type == UIEVENT_BUTTONUP) {
        for (int i = 0; i < GetCount(); ++i)
            if (GetItemAt(i)->GetPos().contains(event.ptMouse) && m_pManager) {
                m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK, static_cast<WPARAM>(i), 0);
                return;
            }
        return;
    }
    CHorizontalLayoutUI::DoEvent(event);
}

} // namespace ravelo
