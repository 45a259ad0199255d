#include "download/DownloadOptions.h"

#include "platform/IniFile.h"
#include "settings/AppPaths.h"

namespace ravelo {

CloudDriveHosts LoadCloudDriveHosts()
{
    CloudDriveHosts hosts;
    hosts.shareHost = ReadProfileString(SettingsFilePath, "Service", "PanShareHost", "https://pan.baidu.com");
    hosts.storageHost =
        ReadProfileString(SettingsFilePath, "Service", "PanStorageHost", "https://pcs.baidu.com");
    for (std::string* host : {&hosts.shareHost, &hosts.storageHost})
        while (!host->empty() && host->back() == '/')
            host->pop_back();
    return hosts;
}

} // namespace ravelo
