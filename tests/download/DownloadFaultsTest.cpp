// The engine where things go wrong at awkward moments: a stop as the unpacking ends, archives cut by
// hand, expired cloud links, servers that keep a file's length to themselves or do not answer at all.
#include "DownloadFixture.h"

#include "download/DownloadResult.h"
#include "support/FileText.h"

#include <filesystem>
#include <future>

using namespace ravelo;
using namespace ravelo::test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::string ServerAnswer(const std::string& url)
{
    return R"({"status":1,"fileurl":")" + url + R"(","filename":"game.zip","cloudurl":{"baidu":[]}})";
}

/// The archive's bytes in `count` volumes of about the same size.
std::vector<std::string> SplitInto(const std::string& archive, std::size_t count)
{
    std::vector<std::string> volumes;
    const std::size_t size = archive.size() / count;
    for (std::size_t i = 0; i < count; ++i)
        volumes.push_back(archive.substr(i * size, i + 1 == count ? std::string::npos : size));
    return volumes;
}

} // namespace

TEST_F(DownloadFixture, AStopAsTheUnpackingEndsLetsTheInstalledGameWin)
{
    m_server.Put("2101.zip", MakeArchive("2101"));
    SetAnswer("2101", ServerAnswer(m_server.FileUrl("2101.zip")));
    SeedBarrier();
    std::promise<void> unpacked, mayHandOver;
    auto handOver = mayHandOver.get_future().share();
    m_options.afterUnpack = [&](const std::string&) {
        unpacked.set_value();
        handOver.wait();
    };
    MakeEngine();
    Engine().AddListener(m_window.Handle(), "2101", 1);
    ASSERT_EQ(Engine().AddTask(Game("2101"), 0), AddTaskResult::Added);
    ASSERT_EQ(unpacked.get_future().wait_for(20s), std::future_status::ready);

    // The archive is unpacked; the thread has not handed over its outcome yet.
    ASSERT_TRUE(Engine().SetCommand("2101", TaskCommand::Stop));
    ASSERT_TRUE(PassBarrier()); // the scheduler has acted on the stop
    EXPECT_NE(Engine().GetShownStatus("2101"), TaskStatus::UnpackPaused); // nothing left to pause
    mayHandOver.set_value();

    ASSERT_TRUE(WaitForItemState("2101", TaskStatus::Installed));
    EXPECT_EQ(InstalledGames().size(), 1u);
    EXPECT_TRUE(fs::exists(GameFolder("2101") + "2101.nes"));
    EXPECT_TRUE(SavedDownloads().empty());
    EXPECT_EQ(Engine().GetShownStatus("2101"), TaskStatus::None);
    EXPECT_FALSE(Engine().SetCommand("2101", TaskCommand::Start)); // no task is left to start
    EXPECT_EQ(Engine().CountActive({"2101"}), 0);
}

TEST_F(DownloadFixture, AnArchiveCutShorterThanItsVolumesResumesFromItsFirstMissingByte)
{
    std::map<std::string, std::vector<std::string>> parts;
    for (const std::string id : {"2201", "2202"}) {
        parts[id] = SplitInto(MakeArchive(id, 300000), 3);
        std::map<int, std::string> volumes;
        for (int v = 1; v <= 3; ++v) {
            const std::string name = id + ".z0" + std::to_string(v);
            m_server.Put(name, parts[id][v - 1]);
            volumes[v] = m_server.FileUrl(name);
        }
        DownloadInfo row = VolumeRow(id, volumes);
        // An earlier run knew every volume's length (2202: the first two) and had them on disk.
        for (int v = 1; v <= (id == "2201" ? 3 : 2); ++v)
            row.VolumeFileLenth[v] = std::to_string(parts[id][v - 1].size());
        SeedRow(row);
    }
    // Then the archive of 2201 was cut inside volume 1, and the one of 2202 deleted.
    const std::size_t kept = parts["2201"][0].size() / 2;
    fs::create_directories(GameFolder("2201"));
    WriteText(GameFolder("2201") + "2201.zip", parts["2201"][0].substr(0, kept));

    MakeEngine();
    ASSERT_NE(WaitForState("2202", TaskStatus::Stopped), nullptr);
    ASSERT_EQ(Engine().SetCommand(std::vector<std::string>{"2201", "2202"}, TaskCommand::Start), 2);
    ASSERT_TRUE(WaitForTasksLeft({"2201", "2202"}));

    EXPECT_EQ(InstalledGames().size(), 2u);
    EXPECT_EQ(fs::file_size(GameFolder("2201") + "2201.nes"), 300000u);
    EXPECT_EQ(fs::file_size(GameFolder("2202") + "2202.nes"), 300000u);
    // Each volume was asked for once, from the first byte missing on disk.
    EXPECT_EQ(m_server.RangesAsked("2201.z01"),
              std::vector<std::string>{"bytes=" + std::to_string(kept) + "-"});
    EXPECT_EQ(m_server.RangesAsked("2201.z02"), std::vector<std::string>{""});
    EXPECT_EQ(m_server.RangesAsked("2202.z01"), std::vector<std::string>{""});
    EXPECT_EQ(m_server.RangesAsked("2202.z03"), std::vector<std::string>{""});
}

TEST_F(DownloadFixture, ExpiredCloudLinksOfVolumesAreResolvedOnceMore)
{
    const std::vector<std::string> parts = SplitInto(MakeArchive("2301"), 2);
    m_options.cloudDriveHosts = [this] { return CloudDriveHosts{m_server.Url(""), m_server.Url("")}; };
    DownloadInfo row = VolumeRow("2301", {});
    row.VolumeUrlList.clear();
    row.Reserved2 = kSourceCloudDrive;
    for (int v = 1; v <= 2; ++v) {
        const std::string name = "cloud-2301.z0" + std::to_string(v);
        m_server.Put(name, parts[v - 1]);
        row.VolumePanUrlList[0][v] = m_server.ShareLinkFor(name);
        // What an earlier run resolved; the drive's links have expired since.
        row.VolumePanRealUrlList[0][v] = m_server.Url("/expired/" + name);
    }
    SeedRow(row);
    MakeEngine();
    ASSERT_NE(WaitForState("2301", TaskStatus::Stopped), nullptr);
    ASSERT_TRUE(Engine().SetCommand("2301", TaskCommand::Start));
    ASSERT_EQ(WaitForOutcome("2301"), "installed");
    EXPECT_TRUE(fs::exists(GameFolder("2301") + "2301.nes"));

    int sharePages = 0;
    for (const auto& request : m_server.Http().Requests())
        sharePages += request.path.rfind("/s/", 0) == 0;
    EXPECT_EQ(sharePages, 2); // each volume's share link resolved once more
}

TEST_F(DownloadFixture, ALengthTheServerKeepsBackIsAskedForAgain)
{
    // Once: the archive already on disk is recognised as whole, not asked for past its end (416).
    const std::string archive = MakeArchive("2401");
    m_server.Put("2401.zip", archive);
    m_server.HideLength("2401.zip", 1);
    SetAnswer("2401", ServerAnswer(m_server.FileUrl("2401.zip")));
    fs::create_directories(GameFolder("2401"));
    WriteText(GameFolder("2401") + "game.zip", archive);
    // Always: the address is chosen again a few times, then the task fails saying why.
    m_server.Put("2402.zip", MakeArchive("2402"));
    m_server.HideLength("2402.zip");
    SetAnswer("2402", ServerAnswer(m_server.FileUrl("2402.zip")));
    MakeEngine();

    ASSERT_EQ(Engine().AddTask(Game("2401"), 0), AddTaskResult::Added);
    ASSERT_EQ(WaitForOutcome("2401"), "installed");
    EXPECT_EQ(m_server.GetCount("2401.zip"), 0);
    EXPECT_TRUE(fs::exists(GameFolder("2401") + "2401.nes"));

    ASSERT_EQ(Engine().AddTask(Game("2402"), 0), AddTaskResult::Added);
    EXPECT_EQ(WaitForOutcome("2402"), "failed 1001: 获取文件长度出错");
    EXPECT_EQ(m_server.GetCount("2402.zip"), 0);
    EXPECT_GE(m_server.HeadCount("2402.zip"), 2 * m_options.probeTries); // chosen again after probing
}

TEST_F(DownloadFixture, WhenNoAddressAnswersTheFailureNamesTheLastAnswer)
{
    LoopbackHttpServer gone;
    gone.Start();
    const std::string closedPort = gone.Url("/files/2502.zip");
    gone.Stop(); // nothing listens there any more
    SetAnswer("2501", ServerAnswer(m_server.FileUrl("nowhere.zip")));
    SetAnswer("2502", ServerAnswer(closedPort));
    MakeEngine();

    ASSERT_EQ(Engine().AddTask(Game("2501"), 0), AddTaskResult::Added);
    EXPECT_EQ(WaitForOutcome("2501"), "failed 1000: 没有可用的下载链接(HTTP 404)");
    ASSERT_EQ(Engine().AddTask(Game("2502"), 0), AddTaskResult::Added);
    EXPECT_EQ(WaitForOutcome("2502"), "failed 1000: 没有可用的下载链接(CURLE_COULDNT_CONNECT)");
    EXPECT_EQ(DownloadFailureText(kResultNoAddress), "没有可用的下载链接"); // nothing was asked
}
