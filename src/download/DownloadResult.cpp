#include "download/DownloadResult.h"

#include "download/CurlResultNames.h"
#include "platform/Translate.h"

namespace ravelo {
namespace {

/// "(HTTP 404)" or "(CURLE_COULDNT_CONNECT)"; empty when the probe got no answer to name.
std::string ProbeAnswerText(const TransferError& probe)
{
    if (probe.curlCode != 0) {
        const std::string name = CurlResultName(probe.curlCode);
        return name.empty() ? std::string() : "(" + name + ")";
    }
    if (probe.httpStatus != 0 && probe.httpStatus != 200)
        return "(HTTP " + std::to_string(probe.httpStatus) + ")";
    return std::string();
}

} // namespace

std::string DownloadFailureText(int code, const TransferError& lastProbe)
{
    switch (code) {
    case kResultNoAddress:
        return Tr("没有可用的下载链接") + ProbeAnswerText(lastProbe);
    case kResultNoLength:
        return Tr("获取文件长度出错");
    case kResultCannotCreateFile:
        return Tr("创建文件失败:请检查下载路径是否正确");
    case kResultUnpackFailed:
        return Tr("解压文件出错");
    case kResultNoVolumeAddress:
        return Tr("没有可用的分卷下载链接");
    case kResultChecksumMismatch:
        return Tr("文件校验失败:下载的文件已损坏,请重新下载");
    case kResultDiskFull:
        return Tr("写入文件失败:磁盘空间不足");
    case kResultBadGameId:
        return Tr("游戏编号无效");
    default:
        break;
    }
    if (code >= 1 && code <= 91)
        return CurlResultName(code);
    if (code >= 100 && code <= 599)
        return Tr("服务器返回错误(HTTP ") + std::to_string(code) + ")";
    return Tr("未知错误");
}

} // namespace ravelo
