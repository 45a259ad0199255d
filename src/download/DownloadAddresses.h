#pragma once

#include "service/CDownLoadUrl.h"
#include "store/DownloadInfo.h"

#include <string>

namespace ravelo {

/// Source bits of a download: where its bytes come from.
enum DownloadSource : int
{
    kSourceCloudDrive = 1,
    kSourceServers = 4,
    kSourceUnpacked = 8,
};

/// Fills a task's address lists, file list, volume flag and archive name from a download-address
/// answer. Not in volumes: fileurl then filelist become the direct list, each share link an entry,
/// fileurl2 then filelist2 the unpacked variant's list. In volumes: volumeurl becomes address set 0
/// and each share-link entry a set, split at ',' into "address|volume" parts. Empty addresses are
/// left out. The archive name is kept when the answer names none or an unsafe one.
void FillTaskAddresses(const CDownLoadUrl& answer, DownloadInfo& task);

/// The sources the task's lists offer, as DownloadSource bits.
int OfferedSources(const DownloadInfo& task);

/// Parses "a|1,b|2" into volume number -> address; parts without exactly two pieces are skipped.
std::map<int, std::string> ParseVolumeSet(const std::string& text);

} // namespace ravelo
