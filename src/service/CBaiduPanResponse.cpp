#include "service/CBaiduPanResponse.h"

namespace ravelo {

void CBaiduPanResponse::DeclareFields()
{
    AddField("errno", &error_no);
    AddField("request_id", &request_id);
    AddField("dlink", &dlink);
    AddField("img", &img);
    AddField("vcode", &vcode);
}

} // namespace ravelo
