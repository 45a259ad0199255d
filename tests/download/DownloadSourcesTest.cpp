#include "DownloadFixture.h"

#include "download/DownloadResult.h"
#include "support/FileText.h"

#include <filesystem>
#include <future>

using namespace ravelo;
using namespace ravelo::test;
namespace fs = std::filesystem;

TEST_F(DownloadFixture, VolumesArriveInOrderIntoOneArchive)
{
    const std::string archive = MakeArchive("1101", 300000);
    const std::size_t third = archive.size() / 3;
    m_server.Put("1101.z01", archive.substr(0, third));
    m_server.Put("1101.z02", archive.substr(third, third));
    m_server.Put("1101.z03", archive.substr(2 * third));
    SetAnswer("1101", R"({"volume":"1","filename":"1101.zip","volumeurl":")" + m_server.FileUrl("1101.z03") +
                          "|3," + m_server.FileUrl("1101.z01") + "|1," + m_server.FileUrl("1101.z02") +
                          "|2\"}");
    MakeEngine();
    ASSERT_EQ(Engine().AddTask(Game("1101"), 0), AddTaskResult::Added);
    ASSERT_TRUE(WaitForTaskLeft("1101"));
    EXPECT_EQ(fs::file_size(GameFolder("1101") + "1101.nes"), 300000u);

    std::vector<std::string> order;
    for (const auto& request : m_server.Http().Requests())
        if (request.method == "GET")
            order.push_back(request.path);
    EXPECT_EQ(order, (std::vector<std::string>{"/files/1101.z01", "/files/1101.z02", "/files/1101.z03"}));
}

TEST_F(DownloadFixture, TheCloudDriveAsksForACaptchaUntilTheRightCode)
{
    const std::string archive = MakeArchive("1201");
    m_server.Put("cloud-1201.zip", archive);
    m_server.ShareFile("cloud-1201.zip", "GOOD");
    m_options.cloudDriveHosts = [this] { return CloudDriveHosts{m_server.Url(""), m_server.Url("")}; };
    SetAnswer("1201", R"({"fileurl":")" + m_server.FileUrl("nowhere.zip") + R"(","cloudurl":{"baidu":[")" +
                          m_server.ShareLink() + R"("]}})");
    m_prompts.source = kSourceCloudDrive;
    m_prompts.codes = {"bad1", "GOOD"};
    MakeEngine();
    ASSERT_EQ(Engine().AddTask(Game("1201"), 0), AddTaskResult::Added);
    ASSERT_TRUE(WaitForTaskLeft("1201"));
    EXPECT_EQ(m_prompts.lastOffered, kSourceCloudDrive | kSourceServers);
    EXPECT_EQ(m_prompts.captchaImages, (std::vector<std::string>{"JPEG-CAPTCHA", "JPEG-CAPTCHA"}));
    EXPECT_FALSE(fs::exists(DataFolder + "1201.jpg")); // the picture is gone after each dialog

    std::vector<std::string> inputs;
    for (const auto& request : m_server.Http().Requests())
        if (request.path == "/share/download")
            inputs.push_back(request.target.substr(request.target.find("&r=0.") + 21));
    // Each round asks afresh: no code, then the wrong one with its token, then the right one.
    EXPECT_EQ(inputs, (std::vector<std::string>{"", "&input=bad1&vcode=tok1", "&input=GOOD&vcode=tok2"}));
    EXPECT_TRUE(fs::exists(GameFolder("1201") + "1201.nes"));
    EXPECT_TRUE(SavedDownloads().empty());
}

TEST_F(DownloadFixture, ACancelledCaptchaFailsWithNoAddress)
{
    m_server.Put("cloud-1202.zip", MakeArchive("1202"));
    m_server.ShareFile("cloud-1202.zip", "GOOD");
    m_options.cloudDriveHosts = [this] { return CloudDriveHosts{m_server.Url(""), m_server.Url("")}; };
    SetAnswer("1202", R"({"cloudurl":{"baidu":[")" + m_server.ShareLink() + R"("]}})");
    m_prompts.source = kSourceCloudDrive; // and no codes: the user closes the captcha window
    MakeEngine();
    ASSERT_EQ(Engine().AddTask(Game("1202"), 0), AddTaskResult::Added);
    const auto failed = WaitForState("1202", TaskStatus::Failed);
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed->code, kResultNoAddress);
}

TEST_F(DownloadFixture, TheUnpackedVariantKeepsItsOwnFileName)
{
    m_server.Put("1301.nes", "NES-ROM-BYTES");
    SetAnswer("1301", R"({"fileurl":")" + m_server.FileUrl("1301.zip") + R"(","fileurl2":")" +
                          m_server.FileUrl("1301.nes") + R"("})");
    m_prompts.source = kSourceUnpacked;
    MakeEngine();
    ASSERT_EQ(Engine().AddTask(Game("1301"), 0), AddTaskResult::Added);
    ASSERT_TRUE(WaitForTaskLeft("1301"));
    EXPECT_EQ(ReadText(GameFolder("1301") + "1301.nes"), "NES-ROM-BYTES");
    ASSERT_EQ(InstalledGames().size(), 1u);
    EXPECT_EQ(InstalledGames()[0].FileName, "1301.nes");
}

TEST_F(DownloadFixture, StoppingWhileUnpackingPausesAndStartingResumesTheUnpacking)
{
    m_server.Put("1401.zip", MakeArchive("1401"));
    SetAnswer("1401", R"({"fileurl":")" + m_server.FileUrl("1401.zip") + R"("})");
    std::promise<void> reachedUnpack, mayUnpack;
    auto mayUnpackFuture = mayUnpack.get_future().share();
    m_options.beforeUnpack = [&](const std::string&) {
        reachedUnpack.set_value();
        mayUnpackFuture.wait();
    };
    MakeEngine();
    Engine().AddListener(m_window.Handle(), "1401", 3);
    ASSERT_EQ(Engine().AddTask(Game("1401"), 0), AddTaskResult::Added);
    reachedUnpack.get_future().wait();
    ASSERT_TRUE(WaitForItemState("1401", TaskStatus::Unpacking));
    ASSERT_TRUE(Engine().SetCommand("1401", TaskCommand::Stop));
    ASSERT_TRUE(WaitForItemState("1401", TaskStatus::UnpackPaused));
    mayUnpack.set_value();
    EXPECT_EQ(Engine().GetShownStatus("1401"), TaskStatus::UnpackPaused);
    EXPECT_EQ(Engine().CountIdle({"1401"}), 1);
    EXPECT_TRUE(fs::exists(GameFolder("1401") + "1401.zip")); // held before the first entry

    ASSERT_TRUE(Engine().SetCommand("1401", TaskCommand::Start));
    ASSERT_TRUE(WaitForTaskLeft("1401"));
    EXPECT_EQ(m_server.GetCount("1401.zip"), 1); // the archive was not downloaded again
    EXPECT_TRUE(fs::exists(GameFolder("1401") + "1401.nes"));
}

TEST_F(DownloadFixture, ALocalArchiveLongerThanTheRemoteOneIsStartedAgain)
{
    const std::string archive = MakeArchive("1501");
    m_server.Put("1501.zip", archive);
    SetAnswer("1501", R"({"fileurl":")" + m_server.FileUrl("1501.zip") + R"("})");
    fs::create_directories(GameFolder("1501"));
    WriteText(GameFolder("1501") + "1501.zip", archive + "trailing bytes of an older, longer file");
    MakeEngine();
    ASSERT_EQ(Engine().AddTask(Game("1501"), 0), AddTaskResult::Added);
    ASSERT_TRUE(WaitForTaskLeft("1501"));
    EXPECT_EQ(m_server.RangesAsked("1501.zip"), std::vector<std::string>{""});
    EXPECT_TRUE(fs::exists(GameFolder("1501") + "1501.nes"));
}
