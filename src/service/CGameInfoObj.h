#pragma once

#include "service/CGameInfo.h"

namespace ravelo {

/// The game-detail answer.
class CGameInfoObj : public CJsonObjectBase
{
public:
    std::int32_t status = 0;
    CGameInfo gameinfo;
    std::int32_t count = 0;
    std::string msg;
    float _run_time = 0.0f;

    std::unique_ptr<CJsonObjectBase> CreateListElement(const std::string& key) override;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
