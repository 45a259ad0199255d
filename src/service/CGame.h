#pragma once

#include "service/CJsonObjectBase.h"

namespace ravelo {

/// One catalogue game. Copyable: a window keeps its own copy of the game it shows.
class CGame : public CJsonObjectBase
{
public:
    std::string gameid; // used by every per-game request
    std::u16string orgname;
    std::string icon;
    std::string tv_icon;
    std::string storeurl;
    std::string fee;
    std::string size; // download size as text
    std::string package_name;
    std::string updatedtime;
    std::string version;
    std::string categoryid;
    std::string emulatorid; // the system number as text
    std::string start_sell_time;
    std::string playurl;
    std::string uid;
    std::string is_pk;
    std::string is_handle;
    std::string is_control;
    std::string min;
    std::string max;
    std::string video_thumbnail;
    std::string video_url;
    std::u16string gamename;
    std::u16string language;
    std::string downloads;
    std::u16string emulatorshortname;
    std::u16string categoryshortname;
    std::string good;
    std::string bad;
    std::string rating;
    std::u16string username;
    std::int64_t needsize = 0;
    std::string isrootdir;
    std::string pcver;
    std::string directx;
    std::string dotnet;
    std::string vcver;

    // Program-side text that no key fills; the parts that show or install the game use them.
    std::string localFolder;
    std::string localFile;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
