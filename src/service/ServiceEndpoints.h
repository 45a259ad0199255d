#pragma once

#include "settings/AppPaths.h"

#include <string>

namespace ravelo {

/// Addresses of the catalogue service, from section "Service" of the settings file. BaseUrl (default
/// http://127.0.0.1:8650) gives every other address; each has its own optional override key.
/// Settings have no cache: load anew for each request (a few small file reads).
struct ServiceEndpoints
{
    std::string BaseUrl;         // without a trailing '/'
    std::string ApiUrl;          // BaseUrl + "/clientapi/"
    std::string PortalUrl;       // BaseUrl + "/portal/"; always ends in '/'
    std::string PictureHost;     // BaseUrl
    std::string PackageHost;     // BaseUrl + "/download/"
    std::string UpdateUrl;       // BaseUrl + "/download/pc/update/index.php"
    std::string EmulatorListUrl; // BaseUrl + "/download/pc/update/emulators.php"
    std::string StatUrl;         // BaseUrl + "/wapstat.php?siteid=8650"

    /// Any thread. Reads the settings file; a missing file or key gives the defaults.
    static ServiceEndpoints Load(const std::string& settingsFile = SettingsFilePath);
};

} // namespace ravelo
