#pragma once

#include "emulator/CKeyConfigBase.h"
#include "emulator/CSetConfigBase.h"

namespace ravelo {

/// One emulator offered by the server's emulator list.
class CEmulatorBase : public CJsonObjectBase
{
public:
    std::string emulatorid; // decimal digits, the key of both registry maps
    std::u16string name;    // display name and the last part of the emulator folder
    std::string version;    // dotted version
    std::string downloadurl;
    std::string update; // date of the version
    std::u16string description;
    std::string emulatortype; // system number as text
    std::string system;       // system code
    std::vector<std::string> execute;
    std::string executeparam;
    std::string configtype;
    RecordVector<CKeyConfigBase> keyconfig;
    RecordVector<CSetConfigBase> setconfig;

    std::unique_ptr<CJsonObjectBase> CreateListElement(const std::string& key) override;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
