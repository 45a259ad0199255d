#pragma once

#include "service/CJsonObjectBase.h"

namespace ravelo {

/// One advertisement (home-page banner, detail-window banner).
class CAd : public CJsonObjectBase
{
public:
    std::string title;
    std::string target;
    std::string action;
    std::string needlogin;
    std::string order_num;
    std::string icon;
    std::string version;
    std::string device;
    std::string id;
    std::string desc;
    std::string attach_id;
    std::string group_id;
    std::string ad_id;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
