#include "DownloadFixture.h"

#include "download/DownloadResult.h"
#include "platform/Md5.h"
#include "support/FileText.h"

#include <filesystem>

using namespace ravelo;
using namespace ravelo::test;
namespace fs = std::filesystem;

namespace {

std::string ServerAnswer(const std::string& url, const std::string& md5 = "")
{
    return R"({"status":1,"fileurl":")" + url + R"(","filelist":[],"filename":"game.zip","filemd5":")" + md5 +
           R"(","cloudurl":{"baidu":[]}})";
}

} // namespace

TEST_F(DownloadFixture, InstallsAGameFromTheServersAndRecordsIt)
{
    const std::string archive = MakeArchive("1001");
    m_server.Put("1001.zip", archive);
    SetAnswer("1001", ServerAnswer(m_server.Url("/hop/2/1001.zip"), Md5Hex(archive)));
    MakeEngine();
    Engine().AddListener(m_window.Handle(), "1001", 7);
    ASSERT_EQ(Engine().AddTask(Game("1001"), 0), AddTaskResult::Added);
    EXPECT_EQ(Engine().AddTask(Game("1001"), 0), AddTaskResult::AlreadyAdded);

    ASSERT_TRUE(WaitForItemState("1001", TaskStatus::Installed));
    EXPECT_EQ(m_prompts.lastOffered, kSourceServers);
    const std::string folder = GameFolder("1001");
    EXPECT_EQ(fs::file_size(folder + "1001.nes"), 200000u);
    EXPECT_EQ(ReadText(folder + "manual/说明.txt"), "按 Start 开始");
    EXPECT_FALSE(fs::exists(folder + "game.zip")); // unpacked archives are removed

    const std::vector<Gameinfo> games = InstalledGames();
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].GameId, "1001");
    EXPECT_EQ(games[0].FilePath, folder);
    EXPECT_EQ(games[0].GameName, u"测试游戏 1001");
    EXPECT_TRUE(SavedDownloads().empty());
    EXPECT_EQ(Engine().GetShownStatus("1001"), TaskStatus::None);
}

TEST_F(DownloadFixture, RefusesGamesWhoseIdOrSystemCannotBeAFolder)
{
    MakeEngine();
    EXPECT_EQ(Engine().AddTask(Game("../../etc"), 0), AddTaskResult::BadGameId);
    EXPECT_EQ(Engine().AddTask(Game("a/b"), 0), AddTaskResult::BadGameId);
    EXPECT_EQ(Engine().AddTask(Game("1002", ".."), 0), AddTaskResult::BadSystemName);
    EXPECT_EQ(Engine().AddTask(Game("1002", ""), 0), AddTaskResult::BadSystemName);
    EXPECT_EQ(Engine().AddTask(Game(std::string("10\n03")), 0), AddTaskResult::BadGameId);
    EXPECT_TRUE(Engine().Tasks().empty());
}

TEST_F(DownloadFixture, AFifthTaskWaitsForAFreeTransfer)
{
    for (int i = 1; i <= 5; ++i) {
        const std::string id = "20" + std::to_string(i);
        m_server.Put(id + ".zip", MakeArchive(id, 20000));
        SetAnswer(id, ServerAnswer(m_server.FileUrl(id + ".zip")));
        if (i <= 4)
            m_server.CloseGate(id + ".zip", 1000); // the first four hang until released
    }
    MakeEngine();
    for (int i = 1; i <= 4; ++i)
        ASSERT_EQ(Engine().AddTask(Game("20" + std::to_string(i)), 0), AddTaskResult::Added);
    ASSERT_TRUE(m_server.WaitAtGate(4));
    ASSERT_EQ(Engine().AddTask(Game("205"), 0), AddTaskResult::Added);
    ASSERT_NE(WaitForState("205", TaskStatus::Waiting), nullptr);
    EXPECT_EQ(Engine().GetShownStatus("205"), TaskStatus::Waiting);
    EXPECT_EQ(Engine().CountRunning(), 4);
    EXPECT_EQ(Engine().CountActive({"201", "202", "205"}), 3);
    EXPECT_EQ(m_server.GetCount("205.zip"), 0);

    m_server.ReleaseGate();
    ASSERT_TRUE(WaitForTasksLeft({"201", "202", "203", "204", "205"}));
    EXPECT_EQ(InstalledGames().size(), 5u);
}

TEST_F(DownloadFixture, StopAndStartResumeFromTheBytesOnDisk)
{
    const std::string archive = MakeArchive("3001", 400000);
    m_server.Put("3001.zip", archive);
    SetAnswer("3001", ServerAnswer(m_server.FileUrl("3001.zip")));
    m_server.CloseGate("3001.zip", 150000);
    MakeEngine();
    ASSERT_EQ(Engine().AddTask(Game("3001"), 0), AddTaskResult::Added);
    ASSERT_TRUE(m_server.WaitAtGate());
    ASSERT_TRUE(WaitForFileSize(GameFolder("3001") + "game.zip", 150000));
    Engine().SetTaskItem("3001", 42); // the download centre ties its row to the running task
    ASSERT_TRUE(Engine().SetCommand("3001", TaskCommand::Stop));
    const auto stopped = WaitForState("3001", TaskStatus::Stopped);
    ASSERT_NE(stopped, nullptr);
    EXPECT_EQ(stopped->item, 42);
    EXPECT_EQ(stopped->currentSize, "0.14"); // 150000 bytes kept on disk
    EXPECT_EQ(fs::file_size(GameFolder("3001") + "game.zip"), 150000u);
    EXPECT_EQ(Engine().GetShownStatus("3001"), TaskStatus::Stopped);

    m_server.ReleaseGate();
    ASSERT_TRUE(Engine().SetCommand("3001", TaskCommand::Start));
    ASSERT_TRUE(WaitForTaskLeft("3001"));
    const auto ranges = m_server.RangesAsked("3001.zip");
    ASSERT_GE(ranges.size(), 2u);
    EXPECT_EQ(ranges.back(), "bytes=150000-");
    EXPECT_EQ(fs::file_size(GameFolder("3001") + "3001.nes"), 400000u);
}

TEST_F(DownloadFixture, ARestartedProgramResumesFromTheSavedRow)
{
    const std::string archive = MakeArchive("4001", 300000);
    m_server.Put("4001.zip", archive);
    SetAnswer("4001", ServerAnswer(m_server.FileUrl("4001.zip"), Md5Hex(archive)));
    m_server.CloseGate("4001.zip", 100000);
    MakeEngine();
    ASSERT_EQ(Engine().AddTask(Game("4001"), 0), AddTaskResult::Added);
    ASSERT_TRUE(m_server.WaitAtGate());
    ASSERT_TRUE(WaitForFileSize(GameFolder("4001") + "game.zip", 100000));
    DestroyEngine(); // the program quits mid-download
    m_server.ReleaseGate();
    ASSERT_EQ(SavedDownloads().count("4001"), 1u);

    SetAnswer("4001", "not asked again");
    MakeEngine();
    ASSERT_NE(WaitForState("4001", TaskStatus::Stopped), nullptr); // restored tasks come back stopped
    ASSERT_TRUE(Engine().SetCommand("4001", TaskCommand::Start));
    ASSERT_TRUE(WaitForTaskLeft("4001"));
    EXPECT_EQ(m_server.RangesAsked("4001.zip").back(), "bytes=100000-");
    EXPECT_EQ(InstalledGames().size(), 1u);
}

TEST_F(DownloadFixture, AnArchiveAlreadyOnDiskIsNotDownloadedAgain)
{
    const std::string archive = MakeArchive("5001");
    m_server.Put("5001.zip", archive);
    SetAnswer("5001", ServerAnswer(m_server.FileUrl("5001.zip")));
    fs::create_directories(GameFolder("5001"));
    WriteText(GameFolder("5001") + "game.zip", archive);
    MakeEngine();
    ASSERT_EQ(Engine().AddTask(Game("5001"), 0), AddTaskResult::Added);
    ASSERT_TRUE(WaitForTaskLeft("5001"));
    EXPECT_EQ(m_server.GetCount("5001.zip"), 0);
    EXPECT_TRUE(fs::exists(GameFolder("5001") + "5001.nes"));
}

TEST_F(DownloadFixture, ErrorAnswersEndTheTaskAndNeverReachTheArchive)
{
    m_server.Put("6001.zip", MakeArchive("6001"), TestFileServer::Mode::GetNotFound);
    SetAnswer("6001", ServerAnswer(m_server.FileUrl("6001.zip")));
    SetAnswer("6002", ServerAnswer(m_server.FileUrl("nowhere.zip")));
    MakeEngine();
    ASSERT_EQ(Engine().AddTask(Game("6001"), 0), AddTaskResult::Added);
    const auto failed = WaitForState("6001", TaskStatus::Failed);
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed->code, 404);
    EXPECT_EQ(DownloadFailureText(failed->code), "服务器返回错误(HTTP 404)");
    // libcurl's own failures keep the names the texts have always used.
    EXPECT_EQ(DownloadFailureText(8), "CURLE_FTP_WEIRD_SERVER_REPLY");
    EXPECT_EQ(DownloadFailureText(91), "CURL_LAST");
    EXPECT_EQ(fs::file_size(GameFolder("6001") + "game.zip"), 0u);
    EXPECT_EQ(Engine().GetShownStatus("6001"),
              TaskStatus::Stopped); // a failed task shows as stopped and keeps its row
    EXPECT_EQ(SavedDownloads().count("6001"), 1u);

    ASSERT_EQ(Engine().AddTask(Game("6002"), 0), AddTaskResult::Added);
    const auto noAddress = WaitForState("6002", TaskStatus::Failed);
    ASSERT_NE(noAddress, nullptr);
    EXPECT_EQ(noAddress->code, kResultNoAddress);
}

TEST_F(DownloadFixture, ADamagedDownloadFailsItsChecksumAndIsThrownAway)
{
    const std::string archive = MakeArchive("7001");
    m_server.Put("7001.zip", archive);
    SetAnswer("7001", ServerAnswer(m_server.FileUrl("7001.zip"), std::string(32, '0')));
    MakeEngine();
    ASSERT_EQ(Engine().AddTask(Game("7001"), 0), AddTaskResult::Added);
    const auto failed = WaitForState("7001", TaskStatus::Failed);
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed->code, kResultChecksumMismatch);
    EXPECT_FALSE(fs::exists(GameFolder("7001") + "game.zip"));
    EXPECT_FALSE(fs::exists(GameFolder("7001") + "7001.nes"));
}

TEST_F(DownloadFixture, DeletingATaskRemovesItsRowAndFolder)
{
    m_server.Put("8001.zip", MakeArchive("8001"));
    SetAnswer("8001", ServerAnswer(m_server.FileUrl("8001.zip")));
    m_server.CloseGate("8001.zip", 5000);
    MakeEngine();
    ASSERT_EQ(Engine().AddTask(Game("8001"), 0), AddTaskResult::Added);
    ASSERT_TRUE(m_server.WaitAtGate());
    ASSERT_TRUE(Engine().SetCommand("8001", TaskCommand::Delete));
    ASSERT_TRUE(WaitForTaskLeft("8001"));
    EXPECT_FALSE(fs::exists(GameFolder("8001")));
    EXPECT_TRUE(fs::exists(m_games / "FC")); // nothing above the game's own folder
    EXPECT_TRUE(SavedDownloads().empty());
    EXPECT_TRUE(Engine().Tasks().empty());
}

TEST_F(DownloadFixture, ACancelledSourceChoiceLeavesNoTask)
{
    m_server.Put("9001.zip", MakeArchive("9001"));
    SetAnswer("9001", ServerAnswer(m_server.FileUrl("9001.zip")));
    m_prompts.source = kSourceDialogClosed;
    MakeEngine();
    Engine().AddListener(m_window.Handle(), "9001", 1);
    ASSERT_EQ(Engine().AddTask(Game("9001"), 0), AddTaskResult::Added);
    ASSERT_TRUE(WaitForItemState("9001", TaskStatus::None));
    EXPECT_TRUE(Engine().Tasks().empty());
    EXPECT_TRUE(SavedDownloads().empty());
}
