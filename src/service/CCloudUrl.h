#pragma once

#include "service/CJsonObjectBase.h"

#include <vector>

namespace ravelo {

/// Cloud-drive share links of a download-address answer.
class CCloudUrl : public CJsonObjectBase
{
public:
    /// One share link per entry; for a game in volumes one set per entry: "link|volume" pairs joined by ",".
    std::vector<std::string> baidu;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
