#include "service/CDownLoadUrl.h"

namespace ravelo {

void CDownLoadUrl::DeclareFields()
{
    AddField("filelist", &filelist);
    AddField("filelist2", &filelist2);
    AddField("cloudurl", &cloudurl);
    AddField("status", &status);
    AddField("msg", &msg);
    AddField("fileurl", &fileurl);
    AddField("fileurl2", &fileurl2);
    AddField("filename", &filename);
    AddField("needsize", &needsize);
    AddField("filemd5", &filemd5);
    AddField("verify", &verify);
    AddField("_run_time", &_run_time);
    AddField("volume", &volume);
    AddField("volumeurl", &volumeurl);
}

std::unique_ptr<CJsonObjectBase> CDownLoadUrl::CreateListElement(const std::string& key)
{
    if (key == "cloudurl")
        return std::make_unique<CCloudUrl>();
    if (key == "verify")
        return std::make_unique<CVerify>();
    return nullptr;
}

} // namespace ravelo
