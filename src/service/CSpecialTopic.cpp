#include "service/CSpecialTopic.h"

namespace ravelo {

void CSpecialTopic::DeclareFields()
{
    AddField("id", &id);
    AddField("name", &name);
    AddField("desc", &desc);
    AddField("count", &count);
    AddField("icon", &icon);
    AddField("banner", &banner);
}

} // namespace ravelo
