#pragma once

#include "service/CJsonObjectBase.h"

namespace ravelo {

/// One file to check after a download: its path inside the game folder, size and check value.
class CVerify : public CJsonObjectBase
{
public:
    std::string path;
    std::string size;
    std::string verify;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
