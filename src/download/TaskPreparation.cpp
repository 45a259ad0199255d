#include "download/TaskPreparation.h"

#include "download/DownloadAddresses.h"
#include "download/DownloadPrompts.h"
#include "platform/DebugOutput.h"
#include "platform/PlainName.h"
#include "service/CDownLoadUrl.h"
#include "store/LibraryDatabase.h"

namespace ravelo {
namespace {

/// The unpacked game file keeps its own name (the address's last part), not the archive's.
void NameUnpackedFile(DownloadInfo& info)
{
    const std::string& address = info.Reserved1.front();
    const std::string name = address.substr(address.find_last_of('/') + 1);
    const std::string plain = name.substr(0, name.find_first_of("?#"));
    if (IsPlainName(plain))
        info.FileName = plain;
}

} // namespace

bool PrepareTask(DownloadInfo& info, WindowHandle parent, const DownloadOptions& options,
                 DownloadPrompts* prompts, LibraryDatabase& database)
{
    auto answer = std::make_unique<CDownLoadUrl>();
    const bool fetched = options.fetchAddresses && options.fetchAddresses(*answer, info.GameId);
    if (!fetched) {
        DebugOutput("download: no addresses for game " + info.GameId);
        return false;
    }
    FillTaskAddresses(*answer, info);
    info.Reserved3 = answer->filemd5;
    const int offered = OfferedSources(info);
    int choice = kSourceDialogClosed;
    if (offered != 0)
        choice = prompts ? prompts->ChooseSource(parent, info, offered)
                         : ((offered & kSourceServers) ? kSourceServers : (offered & -offered));
    const bool chosen =
        (choice == kSourceCloudDrive || choice == kSourceServers || choice == kSourceUnpacked) &&
        (offered & choice);
    if (!chosen)
        return false;
    if (choice == kSourceUnpacked) {
        info.NeedUnZip.assign(1, '0'); // not = "0": GCC 12 warns falsely (-Wrestrict) on that
        NameUnpackedFile(info);
    }
    info.Reserved2 = choice;
    database.Post(DbOperation::RemoveDownload, info.GameId); // a stale row of an earlier run
    return database.PostWait(DbOperation::AddDownload, info);
}

} // namespace ravelo
