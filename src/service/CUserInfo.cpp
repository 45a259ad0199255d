#include "service/CUserInfo.h"

namespace ravelo {

void CUserInfo::DeclareFields()
{
    AddField("status", &status);
    AddField("uid", &uid);
    AddField("username", &username);
    AddField("prohibited", &prohibited);
    AddField("msg", &msg);
    AddField("ticket", &ticket);
    AddField("_run_time", &_run_time);
}

} // namespace ravelo
