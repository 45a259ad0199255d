#include "emulator/CKeyConfigBase.h"

namespace ravelo {

void CKeyConfigBase::DeclareFields()
{
    AddField("source", &source);
    AddField("target", &target);
    AddField("defaultsource", &defaultsource);
}

} // namespace ravelo
