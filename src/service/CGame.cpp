#include "service/CGame.h"

namespace ravelo {

void CGame::DeclareFields()
{
    AddField("gameid", &gameid);
    AddField("orgname", &orgname);
    AddField("icon", &icon);
    AddField("tv_icon", &tv_icon);
    AddField("storeurl", &storeurl);
    AddField("fee", &fee);
    AddField("size", &size);
    AddField("package_name", &package_name);
    AddField("updatedtime", &updatedtime);
    AddField("version", &version);
    AddField("categoryid", &categoryid);
    AddField("emulatorid", &emulatorid);
    AddField("start_sell_time", &start_sell_time);
    AddField("playurl", &playurl);
    AddField("uid", &uid);
    AddField("is_pk", &is_pk);
    AddField("is_handle", &is_handle);
    AddField("is_control", &is_control);
    AddField("min", &min);
    AddField("max", &max);
    AddField("video_thumbnail", &video_thumbnail);
    AddField("video_url", &video_url);
    AddField("gamename", &gamename);
    AddField("language", &language);
    AddField("downloads", &downloads);
    AddField("emulatorshortname", &emulatorshortname);
    AddField("categoryshortname", &categoryshortname);
    AddField("good", &good);
    AddField("bad", &bad);
    AddField("rating", &rating);
    AddField("username", &username);
    AddField("needsize", &needsize);
    AddField("isrootdir", &isrootdir);
    AddField("pcver", &pcver);
    AddField("directx", &directx);
    AddField("dotnet", &dotnet);
    AddField("vcver", &vcver);
}

} // namespace ravelo
