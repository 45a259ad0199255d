// The emulator registry against ravelo-server serving its demo catalogue on 127.0.0.1: the real list,
// real package downloads and unpacking, and a real library database file.
#include "emulator/CEmulatorManager.h"
#include "emulator/EmulatorMessages.h"
#include "platform/MessageQueue.h"
#include "platform/TextConvert.h"
#include "store/LibraryDatabase.h"
#include "support/DemoCatalogueServer.h"
#include "support/TempFolder.h"
#include "update/SetupErrorText.h"
#include "update/SetupWorker.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

namespace ravelo {
namespace {

using namespace std::chrono_literals;
using test::DemoCatalogueServer;
using test::TempFolder;
namespace fs = std::filesystem;

class CountingHost : public EmulatorHost
{
public:
    bool AskYesNo(const std::string&, const std::string&, WindowHandle) override
    {
        ++questions;
        return true;
    }
    void ShowMessage(const std::string&, const std::string&, WindowHandle) override {}
    bool RunPackageSetup(const EmulatorInfo& record, const std::string& title, WindowHandle parent,
                         SetupWorker& worker) override
    {
        ++setups;
        const bool ok = EmulatorHost::RunPackageSetup(record, title, parent, worker);
        error = worker.ErrorCode() ? SetupErrorText(worker.ErrorCode()) : std::string();
        return ok;
    }
    int questions = 0, setups = 0;
    std::string error;
};

class EmulatorServer : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_demo = std::make_unique<DemoCatalogueServer>(RAVELO_SERVER_EXE);
        s_baseUrl = s_demo->BaseUrl();
        ASSERT_FALSE(s_baseUrl.empty()) << "ravelo-server did not serve its demo catalogue";
    }
    static void TearDownTestSuite() { s_demo.reset(); }

    std::unique_ptr<CEmulatorManager> MakeRegistry(const std::string& listUrl)
    {
        return std::make_unique<CEmulatorManager>(CEmulatorManager::Setup{.listUrl = listUrl,
                                                                          .instanceFolder = m_program.Path(),
                                                                          .dataFolder = m_program / "data",
                                                                          .database = &m_database});
    }
    std::vector<EmulatorInfo> Rows()
    {
        std::vector<EmulatorInfo> rows;
        EXPECT_TRUE(m_database.PostWait(DbOperation::LoadEmulators, &rows));
        return rows;
    }
    static std::string ListUrl() { return s_baseUrl + "/download/pc/update/emulators.php"; }

    TempFolder m_program;
    LibraryDatabase m_database{m_program / "database/ravelo.db"};
    CountingHost m_host;
    static inline std::unique_ptr<DemoCatalogueServer> s_demo;
    static inline std::string s_baseUrl;
};

TEST_F(EmulatorServer, EnsureInstalledDownloadsRecordsAndSurvivesARestartThenUninstallDeletesAll)
{
    auto registry = MakeRegistry(ListUrl());
    ASSERT_TRUE(registry->Load());
    ASSERT_FALSE(registry->Available().empty());
    const std::optional<EmulatorInfo> offered = registry->FindAvailableByType(125);
    ASSERT_TRUE(offered);
    EXPECT_EQ(offered->System, "FC");

    const std::optional<EmulatorInfo> installed = registry->EnsureInstalled(125, 0, m_host);
    ASSERT_TRUE(installed) << m_host.error;
    EXPECT_EQ(*installed, *offered);
    const std::string folder = m_program / ("Emulator/FC/" + Utf16ToUtf8(installed->Name));
    EXPECT_EQ(registry->EmulatorFolder(*installed), folder);
    ASSERT_FALSE(installed->Executet.empty());
    EXPECT_TRUE(fs::exists(folder + "/" + installed->Executet[0]));
    EXPECT_EQ(Rows(), std::vector<EmulatorInfo>{*installed});

    // Installed already: no second download, and Install refuses.
    EXPECT_EQ(registry->EnsureInstalled(125, 0, m_host), installed);
    EXPECT_FALSE(registry->Install(*offered, 0, m_host));
    EXPECT_EQ(m_host.setups, 1);
    // No emulator offered for a system: none, silently.
    EXPECT_FALSE(registry->EnsureInstalled(138, 0, m_host));

    // A new registry (the next start) finds it in the library.
    registry = MakeRegistry(ListUrl());
    ASSERT_TRUE(registry->Load());
    EXPECT_EQ(registry->FindInstalledByType(125), installed);

    // A newer version offered: the update replaces files, map and row.
    EmulatorInfo newer = *offered;
    newer.Version = "1.0.1";
    EXPECT_EQ(registry->CheckUpdate(&newer, 0, m_host), CEmulatorManager::UpdateResult::Updated);
    EXPECT_EQ(registry->FindInstalled(newer.EmulatorId)->Version, "1.0.1");
    EXPECT_EQ(Rows(), std::vector<EmulatorInfo>{newer});

    EXPECT_TRUE(registry->Uninstall(newer, 0, m_host));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::exists(m_program / "Emulator/FC"));
    EXPECT_FALSE(registry->HasInstalledType(125));
    EXPECT_TRUE(Rows().empty());
}

TEST_F(EmulatorServer, FailedDownloadsRecordNothingAndAnUnreachableServerLeavesTheListEmpty)
{
    auto registry = MakeRegistry(ListUrl());
    ASSERT_TRUE(registry->Load());
    EmulatorInfo broken = *registry->FindAvailableByType(125);
    broken.Downloadurl = s_baseUrl + "/download/emulators/FC/missing.zip";
    EXPECT_FALSE(registry->Install(broken, 0, m_host));
    EXPECT_EQ(m_host.error, "获取文件长度出错"); // the length probe meets the 404 first
    broken.Downloadurl = s_baseUrl + "/download/pc/update/emulators.php"; // not a zip archive
    EXPECT_FALSE(registry->Install(broken, 0, m_host));
    EXPECT_EQ(m_host.error, "解压文件出错");
    broken.Downloadurl = "file:///etc/passwd";
    EXPECT_FALSE(registry->Install(broken, 0, m_host));
    EXPECT_FALSE(registry->HasInstalledType(125));
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(fs::exists(m_program / "data/Emulator.zip"));

    auto offline = MakeRegistry(s_baseUrl + "/no/such/list.php");
    EXPECT_FALSE(offline->Load());
    EXPECT_TRUE(offline->Available().empty());
    EXPECT_FALSE(offline->EnsureInstalled(125, 0, m_host));
}

TEST_F(EmulatorServer, RefreshReplacesTheListAndTellsTheWindowOnlyWhenItParsed)
{
    MessageQueue window;
    auto registry = MakeRegistry(ListUrl());
    ASSERT_TRUE(
        registry->RebuildFromText(R"({"fc":[{"emulatorid":"1","name":"Old","emulatortype":"125"}]})"));
    ASSERT_TRUE(registry->RefreshAsync(window.Handle()));
    std::optional<Message> message = window.WaitFor(kEmulatorListRefreshed, 10s);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->wParam, 0u);
    registry->WaitForRefresh();
    EXPECT_FALSE(registry->FindAvailable("1"));
    EXPECT_TRUE(registry->FindAvailableByType(125));

    // A refresh from an address that answers no list keeps the list and posts nothing.
    auto failing = MakeRegistry(s_baseUrl + "/no/such/list.php");
    ASSERT_TRUE(failing->RebuildFromText(R"({"fc":[{"emulatorid":"1","name":"Old","emulatortype":"125"}]})"));
    ASSERT_TRUE(failing->RefreshAsync(window.Handle()));
    failing->WaitForRefresh();
    EXPECT_TRUE(failing->FindAvailable("1"));
    EXPECT_EQ(window.Pending(), 0u);
}

} // namespace
} // namespace ravelo
