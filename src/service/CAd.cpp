#include "service/CAd.h"

namespace ravelo {

void CAd::DeclareFields()
{
    AddField("title", &title);
    AddField("target", &target);
    AddField("action", &action);
    AddField("needlogin", &needlogin);
    AddField("order_num", &order_num);
    AddField("icon", &icon);
    AddField("version", &version);
    AddField("device", &device);
    AddField("id", &id);
    AddField("desc", &desc);
    AddField("attach_id", &attach_id);
    AddField("group_id", &group_id);
    AddField("ad_id", &ad_id);
}

} // namespace ravelo
