#pragma once

#include <map>
#include <string>
#include <vector>

namespace ravelo {

/// An unfinished download: one row of the DownloadInfo table, identified by GameId. The list
/// fields are real containers here and take their text form only in the row.
struct DownloadInfo
{
    /// Address set number -> (volume number -> address).
    using VolumeSets = std::map<int, std::map<int, std::string>>;

    std::string GameId;
    std::string Icon;
    std::u16string GameName; // stored as UTF-8
    std::string EmulatorShortName;
    std::string CategoryShortName;
    std::string EmulatorId;
    std::string CategoryId;
    std::string PlayUrl;
    std::string FilePath;                    // the game's folder
    std::string FileName;                    // the archive's name
    std::string NeedUnZip;                   // "1" = unpack after the download
    std::string Volume;                      // "1" = the archive comes in volumes
    std::vector<std::string> UrlList;        // direct addresses, entry 0 first
    std::vector<std::string> PanUrlList;     // cloud-drive share links
    std::vector<std::string> PanRealUrlList; // resolved cloud-drive links
    VolumeSets VolumeUrlList;
    VolumeSets VolumePanUrlList;
    VolumeSets VolumePanRealUrlList;
    std::string FileLenth;                       // total length, decimal text
    std::map<int, std::string> VolumeFileLenth;  // volume number (from 1) -> length text
    std::map<std::string, std::string> FileList; // file path -> check value
    std::string TotalSize;
    std::string CurrentSize;
    std::vector<std::string> Reserved1; // addresses of the unpacked variant, entry 0 first
    int Reserved2 = 4;                  // source type: 1 cloud drive, 4 own servers, 8 unpacked files
    std::string Reserved3;              // the archive's MD5 text from the address answer, or empty
    std::string Reserved4;              // written with the row, never read back

    bool operator==(const DownloadInfo&) const = default;
};

} // namespace ravelo
