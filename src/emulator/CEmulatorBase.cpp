#include "emulator/CEmulatorBase.h"

namespace ravelo {

void CEmulatorBase::DeclareFields()
{
    AddField("emulatorid", &emulatorid);
    AddField("name", &name);
    AddField("version", &version);
    AddField("downloadurl", &downloadurl);
    AddField("update", &update);
    AddField("description", &description);
    AddField("emulatortype", &emulatortype);
    AddField("system", &system);
    AddField("execute", &execute);
    AddField("executeparam", &executeparam);
    AddField("configtype", &configtype);
    AddField("keyconfig", &keyconfig);
    AddField("setconfig", &setconfig);
}

std::unique_ptr<CJsonObjectBase> CEmulatorBase::CreateListElement(const std::string& key)
{
    if (key == "keyconfig")
        return std::make_unique<CKeyConfigBase>();
    if (key == "setconfig")
        return std::make_unique<CSetConfigBase>();
    return nullptr;
}

} // namespace ravelo
