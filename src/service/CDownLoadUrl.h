#pragma once

#include "service/CCloudUrl.h"
#include "service/CVerify.h"

#include <vector>

namespace ravelo {

/// The download-address answer: where a game's archive, its unpacked variant and its volumes are.
class CDownLoadUrl : public CJsonObjectBase
{
public:
    std::vector<std::string> filelist;  // further archive addresses, after fileurl
    std::vector<std::string> filelist2; // further addresses of the unpacked variant, after fileurl2
    CCloudUrl cloudurl;
    std::int32_t status = 0;
    std::string msg;
    std::string fileurl;
    std::string fileurl2;
    std::string filename;
    std::int64_t needsize = 0;
    std::string filemd5;
    RecordVector<CVerify> verify;
    float _run_time = 0.0f;
    std::string volume;    // "1" when the game comes in volumes
    std::string volumeurl; // "address|volume" pairs joined by ","

    std::unique_ptr<CJsonObjectBase> CreateListElement(const std::string& key) override;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
