#include "update/CUpdateInfo.h"

namespace ravelo {

void CUpdateInfo::DeclareFields()
{
    AddField("version", &version);
    AddField("downloadurl", &downloadurl);
    AddField("description", &description);
    AddField("sha256", &sha256);
}

} // namespace ravelo
