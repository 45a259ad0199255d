// The self-update check as a person meets it: its notices, its question, and a whole update of a
// portable install in a temporary folder, against ravelo-server's demo catalogue on loopback and the
// real ravelo-update.
#include "gui/settings/CSelfUpdate.h"

#include "gui/support/GuiDriver.h"
#include "gui/support/GuiFixture.h"
#include "platform/MessageQueue.h"
#include "platform/Process.h"
#include "support/LoopbackHttpServer.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"
#include "update/SetupErrorText.h"

#include <sqlite3.h>

#include <filesystem>
#include <map>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using UiLib::CControlUI;
using UiLib::WindowImplBase;

QString TextOf(WindowImplBase& window, const char* name)
{
    CControlUI* control = GuiDriver::Find(window, QString::fromUtf8(name));
    return control ? control->GetText() : QString();
}

void WriteFile(const std::string& path, const std::string& text, bool runnable = false)
{
    fs::create_directories(fs::path(path).parent_path());
    WriteText(path, text);
    if (runnable)
        fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

/// Every file below a folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder, const std::vector<std::string>& parts)
{
    std::map<std::string, std::string> files;
    for (const std::string& part : parts) {
        if (fs::is_regular_file(folder + part)) {
            files[folder + part] = ReadText(folder + part);
            continue;
        }
        for (const auto& entry : fs::recursive_directory_iterator(folder + part))
            if (entry.is_regular_file())
                files[entry.path().string()] = ReadText(entry.path().string());
    }
    return files;
}

class SelfUpdateTest : public GuiFixture
{
protected:
    void TearDown() override
    {
        UiLib::SetMessageBoxHandler(nullptr);
        UiLib::SetUrlOpener(nullptr);
        GuiFixture::TearDown();
    }

    CSelfUpdate::Options Options(const std::string& localVersion) const
    {
        CSelfUpdate::Options options;
        options.updateUrl = Server().BaseUrl() + "/download/pc/update/index.php";
        options.packageHost = Server().BaseUrl() + "/download/";
        options.dataFolder = DataFolder;
        options.localVersion = localVersion;
        options.handOff = SelfUpdateHandOff{m_install.Path(), "ravelo-cli", 999999};
        return options;
    }

    /// Records the message boxes; answers OK.
    void RecordBoxes()
    {
        UiLib::SetMessageBoxHandler([this](const UiLib::MessageBoxRequest& request) {
            m_boxes.push_back(request.text.toStdString() + "|" + request.caption.toStdString());
            return UiLib::IDOK;
        });
    }

    /// Runs a check to its end (its notices, question and setup included).
    void CheckToTheEnd(CSelfUpdate& update, WindowHandle owner)
    {
        ASSERT_TRUE(update.Check(owner));
        ASSERT_TRUE(GuiDriver::WaitFor([&] { return !update.IsChecking(); }, 60000));
    }

    TempFolder m_install;
    std::vector<std::string> m_boxes;
};

TEST_F(SelfUpdateTest, NoticesForNoAnswerAndForNothingNew)
{
    RecordBoxes();
    CSelfUpdate upToDate(Options("0.0.18")); // the demo offers 0.0.18 itself
    ASSERT_TRUE(upToDate.Check(0));
    EXPECT_FALSE(upToDate.Check(0)); // one check at a time
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !upToDate.IsChecking(); }));
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], "Ravelo已是最新版本|提示");

    CSelfUpdate::Options nowhere = Options("0.0.17");
    LoopbackHttpServer closed;
    closed.Start();
    nowhere.updateUrl = closed.Url("/download/pc/update/index.php");
    closed.Stop();
    CSelfUpdate unreachable(nowhere);
    CheckToTheEnd(unreachable, 0);
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[1], "获取更新信息失败|提示");
}

TEST_F(SelfUpdateTest, TheQuestionShowsTheReleaseNotesAndNoStartsNothing)
{
    RecordBoxes();
    MessageQueue owner;
    QString caption, notes;
    auto step = GuiDriver::WhenShown(QStringLiteral("UpdateAskFrame"), [&](WindowImplBase& question) {
        caption = TextOf(question, "Lb_Caption");
        notes = TextOf(question, "Rd_Description");
        GuiDriver::ClickLater(question, QStringLiteral("Btn_No"));
    });
    CSelfUpdate update(Options("0.0.17"));
    CheckToTheEnd(update, owner.Handle());
    EXPECT_EQ(caption, QStringLiteral("提示:检测到新版本0.0.18是否更新"));
    EXPECT_EQ(notes, QStringLiteral("更新说明:\n\nRavelo 0.0.18\n- 演示目录的更新包\n- 修正若干问题"));
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(LoggedRequests("Update.zip").empty());
    EXPECT_FALSE(owner.Wait(0ms));
}

TEST_F(SelfUpdateTest, AnInstalledProgramOpensTheDownloadPageInstead)
{
    RecordBoxes();
    std::vector<QUrl> opened;
    UiLib::SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    auto step = GuiDriver::WhenShown(QStringLiteral("UpdateAskFrame"), [](WindowImplBase& question) {
        GuiDriver::ClickLater(question, QStringLiteral("Btn_Yes"));
    });
    CSelfUpdate update(Options("0.0.17")); // m_install has no portable.txt
    CheckToTheEnd(update, 0);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toString().toStdString(), Server().BaseUrl() + "/download/Update.zip");
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_NE(m_boxes[0].find("软件包管理器"), std::string::npos) << m_boxes[0];
    EXPECT_TRUE(LoggedRequests("Update.zip").empty());
}

class PortableUpdateTest : public SelfUpdateTest
{
protected:
    void SetUp() override
    {
        SelfUpdateTest::SetUp();
        // The old version and everything its user made of it.
        WriteFile(m_install / "portable.txt", "");
        WriteFile(m_install / "ravelo", "#!/bin/sh\nexec sleep 60\n", true);
        WriteFile(m_install / "ravelo-cli", "#!/bin/sh\necho old\n", true);
        WriteFile(m_install / "ravelo.cfg", "[Set]\nRomPath=" + (m_install / "games/") + "\nHandleType=1\n");
        WriteFile(m_install / "Emulator/FC/Demo/UserGamePadCfg/keys.ini", "[Keys]\nA=1\n");
        WriteFile(m_install / "games/FC/1001/game.nes", "a game");
        fs::create_directories(m_install / "database");
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((m_install / "database/ravelo.db").c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                               "CREATE TABLE Gameinfo (GameId TEXT PRIMARY KEY, GameName TEXT);"
                               "INSERT INTO Gameinfo VALUES ('1001', '星际突击队');",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
        m_usersFiles = Snapshot(m_install.Path(), {"ravelo.cfg", "Emulator", "games", "database"});
        ASSERT_EQ(m_usersFiles.size(), 4u);
        // The old version is running.
        ASSERT_TRUE(m_running.Start({m_install / "ravelo", {}, m_install.Path()}));
    }

    void TearDown() override
    {
        m_running.Terminate(0ms);
        m_running.Wait();
        SelfUpdateTest::TearDown();
    }

    CSelfUpdate::Options PortableOptions()
    {
        CSelfUpdate::Options options = Options("0.0.17");
        // The program started again afterwards is the command line, which ends by itself.
        options.handOff =
            SelfUpdateHandOff{m_install.Path(), "ravelo-cli", static_cast<long>(m_running.Id())};
        return options;
    }

    std::string UpdaterLog() const { return ReadText(DataFolder + "update/ravelo-update.log"); }

    Process m_running;
    std::map<std::string, std::string> m_usersFiles;
};

TEST_F(PortableUpdateTest, FetchesChecksAndHandsOverThenTheUpdaterReplacesTheProgramAndStartsIt)
{
    RecordBoxes();
    MessageQueue owner;
    auto step = GuiDriver::WhenShown(QStringLiteral("UpdateAskFrame"), [](WindowImplBase& question) {
        GuiDriver::ClickLater(question, QStringLiteral("Btn_Yes"));
    });
    CSelfUpdate update(PortableOptions());
    CheckToTheEnd(update, owner.Handle());
    EXPECT_TRUE(m_boxes.empty()) << m_boxes.front();

    // The popup ended with 886: the owner is told to close, so the program can end.
    const std::optional<Message> close = owner.WaitFor(UiLib::WM_CLOSE, 0ms);
    ASSERT_TRUE(close);
    EXPECT_EQ(close->wParam, 886u);
    EXPECT_FALSE(fs::exists(DataFolder + "RaveloUpdate.zip"));
    ASSERT_TRUE(fs::exists(DataFolder + "update/ravelo-update"));
    // The updater waits for the old program: nothing is replaced while it runs.
    ASSERT_TRUE(GuiDriver::WaitFor(
        [&] { return UpdaterLog().find("waiting for the program") != std::string::npos; }));
    EXPECT_EQ(ReadText(m_install / "ravelo-cli"), "#!/bin/sh\necho old\n");

    m_running.Terminate(0ms); // the program ends, as the main window does on WM_CLOSE 886
    m_running.Wait();
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return UpdaterLog().find("started ") != std::string::npos; }, 60000))
        << UpdaterLog();
    EXPECT_NE(UpdaterLog().find("started " + (m_install / "ravelo-cli")), std::string::npos) << UpdaterLog();

    // The program is the new version's, whole; the user's files are as they were.
    for (const char* program : {"ravelo", "ravelo-cli", "ravelo-update"}) {
        const std::string built = std::string(RAVELO_PROGRAM_FOLDER) + "/" + program;
        EXPECT_TRUE(ReadText(m_install / program) == ReadText(built)) << program;
        EXPECT_TRUE((fs::status(m_install / program).permissions() & fs::perms::owner_exec) !=
                    fs::perms::none);
    }
    EXPECT_TRUE(fs::exists(m_install / "LocalGameRes"));
    EXPECT_EQ(Snapshot(m_install.Path(), {"ravelo.cfg", "Emulator", "games", "database"}), m_usersFiles);
    EXPECT_TRUE(fs::exists(m_install / "portable.txt"));
    EXPECT_FALSE(fs::exists(m_install / ".ravelo-update"));
}

TEST_F(PortableUpdateTest, APackageThatFailsItsChecksumChangesNothing)
{
    // An update answer that names other bytes than the package host serves.
    LoopbackHttpServer answer;
    answer.Get("/index.php", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content("{\"version\":\"0.0.19\",\"downloadurl\":\"" + Server().BaseUrl() +
                            "/download/Update.zip\",\"description\":\"x\",\"sha256\":\"" +
                            std::string(64, '0') + "\"}",
                        "application/json");
    });
    answer.Server().Post("/index.php", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content("{\"version\":\"0.0.19\",\"sha256\":\"" + std::string(64, '0') + "\"}",
                        "application/json");
    });
    answer.Start();
    CSelfUpdate::Options options = PortableOptions();
    options.updateUrl = answer.Url("/index.php");

    RecordBoxes();
    MessageQueue owner;
    auto ask = GuiDriver::WhenShown(QStringLiteral("UpdateAskFrame"), [](WindowImplBase& question) {
        GuiDriver::ClickLater(question, QStringLiteral("Btn_Yes"));
    });
    QString status, reason;
    auto popup = GuiDriver::WhenShown(QStringLiteral("DownLoadPopFrame"), [&](WindowImplBase& window) {
        GuiDriver::WaitFor([&] { return TextOf(window, "LB_Status") == QStringLiteral("提示：错误"); },
                           60000);
        status = TextOf(window, "LB_Status");
        reason = TextOf(window, "LB_Size");
        GuiDriver::ClickLater(window, QStringLiteral("Btn_Cancel"));
    });
    const auto before = Snapshot(m_install.Path(), {""});
    CSelfUpdate update(options);
    CheckToTheEnd(update, owner.Handle());
    EXPECT_EQ(status, QStringLiteral("提示：错误"));
    EXPECT_EQ(reason.toStdString(), SetupErrorText(kSetupChecksumMismatch));
    EXPECT_FALSE(LoggedRequests("GET /download/Update.zip").empty()); // fetched, then refused
    EXPECT_FALSE(owner.Wait(0ms));                                    // the program goes on
    EXPECT_FALSE(fs::exists(DataFolder + "RaveloUpdate.zip"));
    EXPECT_FALSE(fs::exists(DataFolder + "update"));
    EXPECT_EQ(Snapshot(m_install.Path(), {""}), before);
    EXPECT_TRUE(m_running.IsRunning());
}

} // namespace
} // namespace ravelo::test
