#pragma once

#include "service/CAd.h"
#include "service/CGame.h"
#include "service/CSpecialTopic.h"

namespace ravelo {

/// The home-page answer: topics, the game lists of the front page, the top game and the banners.
class CFeatured : public CJsonObjectBase
{
public:
    RecordVector<CSpecialTopic> special_list;
    RecordVector<CGame> game_list_recommend;
    RecordVector<CGame> game_list_hot;
    RecordVector<CGame> game_list_fight;
    RecordVector<CGame> game_list_shoot;
    RecordVector<CGame> game_list_racing;
    RecordVector<CGame> game_list_action;
    RecordVector<CGame> game_list_totalhot;
    RecordVector<CGame> game_list_new;
    CGame game_top;
    RecordVector<CAd> ads_index_left;
    RecordVector<CAd> ads_index_gamedetail;

    std::unique_ptr<CJsonObjectBase> CreateListElement(const std::string& key) override;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
