#include "service/ServiceEndpoints.h"

#include "platform/IniFile.h"

namespace ravelo {

ServiceEndpoints ServiceEndpoints::Load(const std::string& settingsFile)
{
    const auto read = [&](const char* key, const std::string& fallback) {
        const std::string value = ReadProfileString(settingsFile, "Service", key, "");
        return value.empty() ? fallback : value;
    };
    ServiceEndpoints e;
    e.BaseUrl = read("BaseUrl", "http://127.0.0.1:8650");
    while (!e.BaseUrl.empty() && e.BaseUrl.back() == '/')
        e.BaseUrl.pop_back();
    e.ApiUrl = read("ApiUrl", e.BaseUrl + "/clientapi/");
    e.PortalUrl = read("PortalUrl", e.BaseUrl + "/portal/");
    if (e.PortalUrl.back() != '/')
        e.PortalUrl += '/';
    e.PictureHost = read("PictureHost", e.BaseUrl);
    e.PackageHost = read("PackageHost", e.BaseUrl + "/download/");
    e.UpdateUrl = read("UpdateUrl", e.BaseUrl + "/download/pc/update/index.php");
    e.EmulatorListUrl = read("EmulatorListUrl", e.BaseUrl + "/download/pc/update/emulators.php");
    e.StatUrl = read("StatUrl", e.BaseUrl + "/wapstat.php?siteid=8650");
    return e;
}

} // namespace ravelo
