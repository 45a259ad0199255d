#include "download/DownloadAddresses.h"

#include "platform/PlainName.h"

#include <charconv>
#include <sstream>

namespace ravelo {
namespace {

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::stringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

void AppendList(std::vector<std::string>& out, const std::string& first, const std::vector<std::string>& rest)
{
    if (!first.empty())
        out.push_back(first);
    for (const std::string& address : rest)
        if (!address.empty())
            out.push_back(address);
}

} // namespace

std::map<int, std::string> ParseVolumeSet(const std::string& text)
{
    std::map<int, std::string> volumes;
    for (const std::string& pair : Split(text, ',')) {
        const std::vector<std::string> pieces = Split(pair, '|');
        if (pieces.size() != 2 || pieces[0].empty())
            continue;
        int number = 0;
        const auto [end, error] =
            std::from_chars(pieces[1].data(), pieces[1].data() + pieces[1].size(), number);
        if (error == std::errc() && end == pieces[1].data() + pieces[1].size() && number > 0)
            volumes[number] = pieces[0];
    }
    return volumes;
}

void FillTaskAddresses(const CDownLoadUrl& answer, DownloadInfo& task)
{
    task.UrlList.clear();
    task.PanUrlList.clear();
    task.Reserved1.clear();
    task.VolumeUrlList.clear();
    task.VolumePanUrlList.clear();
    task.FileList.clear();
    task.Volume.assign(1, answer.volume == "1" ? '1' : '0');
    if (IsPlainName(answer.filename))
        task.FileName = answer.filename;

    if (task.Volume == "1") {
        if (auto set = ParseVolumeSet(answer.volumeurl); !set.empty())
            task.VolumeUrlList[0] = std::move(set);
        int number = 0;
        for (const std::string& entry : answer.cloudurl.baidu)
            if (auto set = ParseVolumeSet(entry); !set.empty())
                task.VolumePanUrlList[number++] = std::move(set);
    } else {
        AppendList(task.UrlList, answer.fileurl, answer.filelist);
        AppendList(task.PanUrlList, std::string(), answer.cloudurl.baidu);
        AppendList(task.Reserved1, answer.fileurl2, answer.filelist2);
    }
    for (const auto& verify : answer.verify)
        task.FileList[verify->path] = verify->verify;
}

int OfferedSources(const DownloadInfo& task)
{
    int offered = 0;
    if (task.Volume == "1") {
        if (!task.VolumePanUrlList.empty())
            offered |= kSourceCloudDrive;
        if (!task.VolumeUrlList.empty())
            offered |= kSourceServers;
        return offered;
    }
    if (!task.PanUrlList.empty())
        offered |= kSourceCloudDrive;
    if (!task.UrlList.empty())
        offered |= kSourceServers;
    if (!task.Reserved1.empty())
        offered |= kSourceUnpacked;
    return offered;
}

} // namespace ravelo
