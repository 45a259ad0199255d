#pragma once

#include "service/CJsonObjectBase.h"

namespace ravelo {

/// One special topic of the home page.
class CSpecialTopic : public CJsonObjectBase
{
public:
    std::string id;
    std::u16string name;
    std::u16string desc;
    std::string count; // number of games in the topic, as text
    std::string icon;
    std::string banner;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
