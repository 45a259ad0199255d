#include "emulator/CSetConfigBase.h"

namespace ravelo {

void CSetConfigBase::DeclareFields()
{
    AddField("source", &source);
    AddField("target", &target);
}

} // namespace ravelo
