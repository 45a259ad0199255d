#include "service/CCategory.h"

namespace ravelo {

void CCategory::DeclareFields()
{
    AddField("count", &count);
    AddField("id", &id);
    AddField("name", &name);
}

} // namespace ravelo
