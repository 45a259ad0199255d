#include "update/SetupErrorText.h"

#include "download/CurlResultNames.h"
#include "platform/Translate.h"

namespace ravelo {

std::string SetupErrorText(int code)
{
    switch (code) {
    case kSetupNoAddress:
        return Tr("没有可用的下载链接");
    case kSetupNoLength:
        return Tr("获取文件长度出错");
    case kSetupCannotCreateFile:
        return Tr("创建文件失败");
    case kSetupUnpackFailed:
        return Tr("解压文件出错");
    case kSetupWindowsOnly:
        return Tr("该组件仅适用于Windows,无法在本系统安装");
    case kSetupInstallerNotStarted:
        return Tr("启动安装程序失败");
    case kSetupChecksumMismatch:
        return Tr("升级包校验失败:文件已损坏,请稍后重新检测更新");
    case kSetupNotPortable:
        return Tr("程序目录不可写,无法自动升级");
    default:
        break;
    }
    if (code >= 1 && code <= 91)
        return CurlResultName(code);
    return Tr("错误代码=") + std::to_string(code);
}

} // namespace ravelo
