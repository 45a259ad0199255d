#include "service/CGameInfo.h"

namespace ravelo {

void CGameInfo::DeclareFields()
{
    CGame::DeclareFields();
    AddField("description", &description);
    AddField("screens", &screens);
    AddField("commentcount", &commentcount);
}

} // namespace ravelo
