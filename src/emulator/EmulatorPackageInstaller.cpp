#include "emulator/EmulatorPackageInstaller.h"

#include "download/CZip.h"
#include "download/DownloadResult.h"
#include "download/ResumableTransfer.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"

#include <cstdio>

namespace ravelo {

EmulatorPackageInstaller::EmulatorPackageInstaller(EmulatorInfo record, std::string emulatorFolder,
                                                   std::string archivePath)
    : m_record(std::move(record)), m_folder(std::move(emulatorFolder)), m_archive(std::move(archivePath))
{
}

bool EmulatorPackageInstaller::Run(const std::atomic<bool>* stop, const Progress& progress)
{
    m_error.clear();
    const std::string& url = m_record.Downloadurl;
    if (m_folder.empty())
        return Fail("创建文件失败");
    if (url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0)
        return Fail("没有可用的下载链接");

    // An archive left by an earlier installation belongs to another emulator or version: start afresh.
    std::remove(m_archive.c_str());
    TransferRequest request;
    request.url = url;
    request.path = m_archive;
    request.stop = stop;
    request.progress = progress;
    request.totalTimeoutSeconds = 0; // a large package on a slow line; the stop flag ends it
    const TransferOutcome outcome = RunResumableTransfer(request);
    if (outcome.stopped || (stop && stop->load()))
        return Fail("已取消");
    if (outcome.openFailed || outcome.writeFailed)
        return Fail("创建文件失败");
    if (!outcome.Succeeded()) {
        // An error answer is cut short by the transfer itself, so its status says more than the
        // write error libcurl reports for it.
        if (outcome.httpStatus != 0 && outcome.httpStatus != 200 && outcome.httpStatus != 206)
            return Fail("服务器返回错误 (HTTP " + std::to_string(outcome.httpStatus) + ")");
        return Fail(DownloadFailureText(outcome.curlCode));
    }

    CreateFolderChain(WithTrailingSeparator(m_folder));
    CZip zip;
    if (progress)
        zip.SetExtractProgressFun(progress);
    if (zip.ZipExtract(m_archive, m_folder) != 1) {
        DebugOutput("emulator package " + m_archive + ": " + zip.LastError());
        return Fail("解压文件出错");
    }
    return true;
}

bool EmulatorPackageInstaller::Fail(std::string reason)
{
    std::remove(m_archive.c_str());
    m_error = std::move(reason);
    return false;
}

} // namespace ravelo
