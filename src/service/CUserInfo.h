#pragma once

#include "service/CJsonObjectBase.h"

namespace ravelo {

/// The registration answer: the anonymous identity the service issued.
class CUserInfo : public CJsonObjectBase
{
public:
    std::int32_t status = 0;
    std::string uid;
    std::string username;
    bool prohibited = false;
    std::string msg;
    std::string ticket; // as the service sent it, not yet percent-encoded
    float _run_time = 0.0f;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
