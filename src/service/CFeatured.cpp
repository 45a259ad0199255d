#include "service/CFeatured.h"

namespace ravelo {

void CFeatured::DeclareFields()
{
    AddField("special_list", &special_list);
    AddField("game_list_recommend", &game_list_recommend);
    AddField("game_list_hot", &game_list_hot);
    AddField("game_list_fight", &game_list_fight);
    AddField("game_list_shoot", &game_list_shoot);
    AddField("game_list_racing", &game_list_racing);
    AddField("game_list_action", &game_list_action);
    AddField("game_list_totalhot", &game_list_totalhot);
    AddField("game_list_new", &game_list_new);
    AddField("game_top", &game_top);
    AddField("ads_index_left", &ads_index_left);
    AddField("ads_index_gamedetail", &ads_index_gamedetail);
}

std::unique_ptr<CJsonObjectBase> CFeatured::CreateListElement(const std::string& key)
{
    if (key == "special_list")
        return std::make_unique<CSpecialTopic>();
    if (key == "game_list_recommend" || key == "game_list_hot" || key == "game_list_fight" ||
        key == "game_list_shoot" || key == "game_list_racing" || key == "game_list_action" ||
        key == "game_list_totalhot" || key == "game_list_new")
        return std::make_unique<CGame>();
    if (key == "ads_index_left" || key == "ads_index_gamedetail")
        return std::make_unique<CAd>();
    return nullptr;
}

} // namespace ravelo
