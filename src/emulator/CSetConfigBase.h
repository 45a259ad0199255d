#pragma once

#include "service/CJsonObjectBase.h"

namespace ravelo {

/// One settings file of an emulator: a file of the user's settings folder and where it goes below
/// the emulator folder.
class CSetConfigBase : public CJsonObjectBase
{
public:
    std::string source;
    std::string target;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
