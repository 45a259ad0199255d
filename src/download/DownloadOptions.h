#pragma once

#include "download/CloudLinkResolver.h"

#include <chrono>
#include <functional>
#include <string>

namespace ravelo {

class CDownLoadUrl;

/// Tunables of the download engine. Defaults are the program's; tests shorten the pauses.
struct DownloadOptions
{
    int maxRunning = 4;
    /// Network trouble is retried after a pause that starts here and doubles up to the maximum.
    std::chrono::milliseconds retryPauseFirst{100};
    std::chrono::milliseconds retryPauseMax{10000};
    /// A length probe is tried this many times, this far apart.
    int probeTries = 3;
    std::chrono::milliseconds probePause{50};
    long connectTimeoutSeconds = 5;
    /// One transfer ends after this long and resumes from the bytes on disk.
    long transferTimeoutSeconds = 15;
    /// Asks the catalogue service for a game's download addresses (the program gives the catalogue
    /// client's); without it every new task fails its preparation.
    std::function<bool(CDownLoadUrl& answer, const std::string& gameId)> fetchAddresses;
    /// Called on the transfer thread right before an archive is unpacked (tests hold it there).
    std::function<void(const std::string& gameId)> beforeUnpack;
    /// Called on the transfer thread once an archive is unpacked, before the thread hands over its
    /// outcome (tests hold it there).
    std::function<void(const std::string& gameId)> afterUnpack;
    /// The cloud drive's endpoints; read from the settings file by default.
    std::function<CloudDriveHosts()> cloudDriveHosts;
};

/// The cloud drive's endpoints from section "Service" of the settings file: PanShareHost (default
/// https://pan.baidu.com) and PanStorageHost (default https://pcs.baidu.com).
CloudDriveHosts LoadCloudDriveHosts();

} // namespace ravelo
