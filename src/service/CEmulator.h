#pragma once

#include "service/CJsonObjectBase.h"

namespace ravelo {

/// One system of the filter groups of a game-list answer.
class CEmulator : public CJsonObjectBase
{
public:
    std::string count;
    std::string id;
    std::u16string name;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
