#include "service/CEmulator.h"

namespace ravelo {

void CEmulator::DeclareFields()
{
    AddField("count", &count);
    AddField("id", &id);
    AddField("name", &name);
}

} // namespace ravelo
