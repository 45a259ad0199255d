#include "service/CCloudUrl.h"

namespace ravelo {

void CCloudUrl::DeclareFields()
{
    AddField("baidu", &baidu);
}

} // namespace ravelo
