#pragma once

#include "service/CSpecialTopic.h"
#include "uilib/CHorizontalLayoutUI.h"

#include <vector>

namespace ravelo {

class PictureSlots;

/// The home page's strip of special topics: one card per topic (its picture, title and number of
/// games), as many as fit the layout's "maxcards" (4 unless set). A click on a card is a "click"
/// from the strip with the card's index in wParam. Tag WeekHotSpecial. UI thread.
class CWeekHotSpecialUI : public UiLib::CHorizontalLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CWeekHotSpecialUI> kInterface{"CWeekHotSpecialUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    void SetTopics(const std::vector<CSpecialTopic>& topics, PictureSlots& pictures);
    const CSpecialTopic* TopicAt(int index) const;
    int TopicCount() const { return static_cast<int>(m_topics.size()); }
    /// The card that shows a topic (for the pointer), or null.
    UiLib::CControlUI* CardAt(int index) const;

    void DoInit() override;
    void DoEvent(UiLib::TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;

private:
    std::vector<CSpecialTopic> m_topics;
    int m_maxCards = 4;
};

} // namespace ravelo
