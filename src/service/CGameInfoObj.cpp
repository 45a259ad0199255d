#include "service/CGameInfoObj.h"

namespace ravelo {

void CGameInfoObj::DeclareFields()
{
    AddField("status", &status);
    AddField("gameinfo", &gameinfo);
    AddField("count", &count);
    AddField("msg", &msg);
    AddField("_run_time", &_run_time);
}

std::unique_ptr<CJsonObjectBase> CGameInfoObj::CreateListElement(const std::string& key)
{
    if (key == "gameinfo")
        return std::make_unique<CGameInfo>();
    return nullptr;
}

} // namespace ravelo
