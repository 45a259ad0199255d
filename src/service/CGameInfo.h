#pragma once

#include "service/CGame.h"

#include <vector>

namespace ravelo {

/// The detail of one game: every CGame field, then the long description and the screenshots.
class CGameInfo : public CGame
{
public:
    std::u16string description;
    std::vector<std::string> screens; // screenshot addresses
    std::string commentcount;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
