#include "service/CVerify.h"

namespace ravelo {

void CVerify::DeclareFields()
{
    AddField("path", &path);
    AddField("size", &size);
    AddField("verify", &verify);
}

} // namespace ravelo
