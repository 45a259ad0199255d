#pragma once

#include "service/HttpTransport.h"

#include <string>

namespace ravelo {

/// Result codes of a download task. HTTP statuses other than 200/206 and libcurl error numbers are
/// stored as they are.
enum DownloadResult : int
{
    kResultOk = 0,
    kResultStopped = 23, // the user stopped the transfer
    kResultNoAddress = 1000,
    kResultNoLength = 1001,
    kResultCannotCreateFile = 1002,
    kResultUnpackFailed = 1003,
    kResultNoVolumeAddress = 1004,
    kResultChecksumMismatch = 1005,
    kResultDiskFull = 1006,
    kResultBadGameId = 1007,
};

/// The reason shown after "下载失败,": our own codes, libcurl's symbolic names for 1 to 91, HTTP
/// statuses, else "未知错误". When no address answered, lastProbe (the last answer an address gave to
/// its probe) is named in brackets: "没有可用的下载链接(HTTP 404)".
std::string DownloadFailureText(int code, const TransferError& lastProbe = {});

} // namespace ravelo
