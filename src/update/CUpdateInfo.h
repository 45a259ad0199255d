#pragma once

#include "service/CJsonObjectBase.h"

#include <string>

namespace ravelo {

/// The update endpoint's answer: the newest released version, where to get it and what changed.
/// Missing members stay empty.
class CUpdateInfo : public CJsonObjectBase
{
public:
    std::string version;
    std::string downloadurl;
    std::u16string description;
    /// SHA-256 of the update package in hexadecimal; when given, a package that does not match it is
    /// never unpacked.
    std::string sha256;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
