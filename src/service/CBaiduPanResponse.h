#pragma once

#include "service/CJsonObjectBase.h"

namespace ravelo {

/// The cloud drive's answer to a share download request.
class CBaiduPanResponse : public CJsonObjectBase
{
public:
    std::int32_t error_no = 0; // key "errno": 0 success, -19 a captcha is required
    std::int64_t request_id = 0;
    std::string dlink; // the direct link
    std::string img;   // captcha image address
    std::string vcode; // captcha token

protected:
    void DeclareFields() override;
};

} // namespace ravelo
