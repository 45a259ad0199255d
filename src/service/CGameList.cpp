#include "service/CGameList.h"

namespace ravelo {

void CGameList::DeclareFields()
{
    AddField("status", &status);
    AddField("gamelist", &gamelist);
    AddField("count", &count);
    AddField("categorygroup", &categorygroup);
    AddField("emulatorgroup", &emulatorgroup);
    AddField("languagegroup", &languagegroup);
    AddField("msg", &msg);
    AddField("_run_time", &_run_time);
}

std::unique_ptr<CJsonObjectBase> CGameList::CreateListElement(const std::string& key)
{
    if (key == "gamelist")
        return std::make_unique<CGame>();
    if (key == "categorygroup")
        return std::make_unique<CCategory>();
    if (key == "emulatorgroup")
        return std::make_unique<CEmulator>();
    if (key == "languagegroup")
        return std::make_unique<CLanguage>();
    return nullptr;
}

} // namespace ravelo
