#pragma once

#include "service/CJsonObjectBase.h"

namespace ravelo {

/// One key-binding file of an emulator: a file of the user's key folder, where it goes below the
/// emulator folder, and the file to fall back on when the user has none.
class CKeyConfigBase : public CJsonObjectBase
{
public:
    std::string source;
    std::string target;
    std::string defaultsource;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
