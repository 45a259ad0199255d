#include "download/DownloadAddresses.h"

#include <gtest/gtest.h>

using namespace ravelo;

namespace {

DownloadInfo Filled(const std::string& json)
{
    CDownLoadUrl answer;
    EXPECT_TRUE(answer.Decode(json));
    DownloadInfo task;
    task.FileName = "1001.zip";
    FillTaskAddresses(answer, task);
    return task;
}

} // namespace

TEST(DownloadAddresses, AWholeArchiveFillsTheDirectShareAndUnpackedLists)
{
    const DownloadInfo task = Filled(R"({"fileurl":"http://a/1.zip","filelist":["http://b/1.zip",""],
        "fileurl2":"http://a/1.nes","filelist2":["http://b/1.nes"],"cloudurl":{"baidu":["http://pan/s/x"]},
        "filename":"mario.zip","verify":[{"path":"1.nes","size":"10","verify":"abc"}]})");
    EXPECT_EQ(task.UrlList, (std::vector<std::string>{"http://a/1.zip", "http://b/1.zip"}));
    EXPECT_EQ(task.PanUrlList, std::vector<std::string>{"http://pan/s/x"});
    EXPECT_EQ(task.Reserved1, (std::vector<std::string>{"http://a/1.nes", "http://b/1.nes"}));
    EXPECT_EQ(task.FileName, "mario.zip");
    EXPECT_EQ(task.FileList.at("1.nes"), "abc");
    EXPECT_EQ(task.Volume, "0");
    EXPECT_EQ(OfferedSources(task), kSourceCloudDrive | kSourceServers | kSourceUnpacked);
}

TEST(DownloadAddresses, VolumesBecomeNumberedSets)
{
    const DownloadInfo task = Filled(R"({"volume":"1","volumeurl":"http://a/v1|1,http://a/v2|2,broken,x|y",
        "cloudurl":{"baidu":["http://pan/1|1,http://pan/2|2"]},"fileurl2":"http://a/unpacked"})");
    ASSERT_EQ(task.VolumeUrlList.size(), 1u);
    EXPECT_EQ(task.VolumeUrlList.at(0), (std::map<int, std::string>{{1, "http://a/v1"}, {2, "http://a/v2"}}));
    EXPECT_EQ(task.VolumePanUrlList.at(0).at(2), "http://pan/2");
    EXPECT_TRUE(task.UrlList.empty());
    // The unpacked variant is not offered for a game in volumes.
    EXPECT_EQ(OfferedSources(task), kSourceCloudDrive | kSourceServers);
}

TEST(DownloadAddresses, AnUnsafeArchiveNameFromTheServerIsIgnored)
{
    EXPECT_EQ(Filled(R"({"fileurl":"http://a/1.zip","filename":"../../evil.zip"})").FileName, "1001.zip");
    EXPECT_EQ(OfferedSources(Filled("{}")), 0);
}
