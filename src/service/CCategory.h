#pragma once

#include "service/CJsonObjectBase.h"

namespace ravelo {

/// One category of the filter groups of a game-list answer.
class CCategory : public CJsonObjectBase
{
public:
    std::string count;
    std::string id;
    std::string name;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
