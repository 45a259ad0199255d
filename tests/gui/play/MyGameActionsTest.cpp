// What the my-games page does to a game: delete it (only what is the game's own, never a path as the
// database has it), rename it, and show it in the file manager.
#include "MyGamePageFixture.h"

#include "gui/play/CDownLoadGameItemUI.h"
#include "settings/AppPaths.h"
#include "support/FileText.h"
#include "uilib/CEditUI.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStandardPaths>

#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <unistd.h>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;
using MyGameActionsTest = MyGamePageTest;

std::vector<Gameinfo> InstalledRows(LibraryDatabase& database)
{
    std::vector<Gameinfo> rows;
    database.PostWait(DbOperation::LoadGames, &rows);
    return rows;
}

std::vector<LocalGame> LocalRows(LibraryDatabase& database)
{
    std::vector<LocalGame> rows;
    database.PostWait(DbOperation::LoadLocalGames, &rows);
    return rows;
}

TEST_F(MyGameActionsTest, DeletingAnInstalledGameRemovesOnlyItsFolderUnderTheGamesFolder)
{
    // The database says the game lives in a folder of the user's: that folder is never touched.
    const std::string outside = m_home / "documents/";
    fs::create_directories(outside);
    WriteText(outside + "thesis.txt", "keep");
    Gameinfo game = StoreInstalled("1001", "125", "FC");
    game.FilePath = outside;
    engines().MyGames().PutInstalledGame(game);
    const std::string folder = GamesRoot() + "FC/1001/";
    fs::create_directories(folder + "save");
    WriteText(folder + "1001.nes", "NES");
    WriteText(folder + "save/1.sav", "SAVE");
    // A game id that climbs out of its system folder names no folder at all.
    Gameinfo climbing = StoreInstalled("..", "125", "FC");
    fs::create_directories(GamesRoot() + "FC/keep/");
    StoreInstalled("1002", "125", "FC");

    CMyGameFrame& page = OpenPage();
    ASSERT_EQ(page.InstalledCount(), 3u);
    answer = UiLib::IDNO; // asked, and declined: nothing happens
    ASSERT_TRUE(ClickIn(page.InstalledItem("1001"), "Btn_Delete"));
    EXPECT_EQ(boxes, std::vector<std::string>{"是否删除游戏"});
    EXPECT_NE(page.InstalledItem("1001"), nullptr);
    EXPECT_TRUE(fs::exists(folder + "1001.nes"));

    answer = UiLib::IDYES;
    ASSERT_TRUE(ClickIn(page.InstalledItem("1001"), "Btn_Delete"));
    EXPECT_EQ(page.InstalledItem("1001"), nullptr);
    EXPECT_FALSE(engines().MyGames().HasInstalledGame("1001"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !fs::exists(folder); }));
    EXPECT_EQ(ReadText(outside + "thesis.txt"), "keep");
    EXPECT_TRUE(fs::exists(GamesRoot() + "FC/"));

    ASSERT_TRUE(ClickIn(page.InstalledItem(".."), "Btn_Delete"));
    EXPECT_EQ(page.InstalledItem(".."), nullptr);
    QCoreApplication::processEvents();
    EXPECT_TRUE(fs::exists(GamesRoot() + "FC/keep/"));
    EXPECT_EQ(page.InstalledCount(), 1u);
    const std::vector<Gameinfo> rows = InstalledRows(engines().Database());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].GameId, "1002");
    // Nothing failed, so nothing but the questions was shown.
    EXPECT_EQ(boxes.size(), 3u);
}

TEST_F(MyGameActionsTest, AFolderThatIsStillThereAfterTheDeleteSaysSo)
{
    // The system refuses to remove what lies under /proc: the games folder's "FC/<id>" is one of this
    // process's descriptors there.
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ApplyGamesFolder("/proc/self/");
    StoreInstalled(std::to_string(fd), "125", "fdinfo");
    CMyGameFrame& page = OpenPage();
    ASSERT_TRUE(ClickIn(page.InstalledItem(std::to_string(fd)), "Btn_Delete"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return boxes.size() == 2; }));
    EXPECT_EQ(boxes[1], "删除失败");
    EXPECT_EQ(page.InstalledItem(std::to_string(fd)), nullptr);
    ::close(fd);
}

TEST_F(MyGameActionsTest, DeletingAnImportedGameKeepsItsRomButTrashesAProgram)
{
    fs::create_directories(m_home / "roms");
    const std::string rom = m_home / "roms/poke.gba";
    const std::string program = m_home / "roms/tool.exe";
    WriteText(rom, "GBA");
    WriteText(program, "MZ");
    StoreLocal(rom, "120", "GBA", u"口袋妖怪");
    StoreLocal(program, "138", "PC", u"工具");
    CMyGameFrame& page = OpenPage();
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("LocalGame")));

    ASSERT_TRUE(ClickIn(page.LocalItem(rom), "Btn_Delete"));
    EXPECT_EQ(page.LocalItem(rom), nullptr);
    EXPECT_FALSE(engines().MyGames().HasLocalGame(rom));
    ASSERT_TRUE(ClickIn(page.LocalItem(program), "Btn_Delete"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !fs::exists(program); }));
    // The program went to the desktop's trash, where the user can get it back.
    const std::string trash = m_home / "xdg-data/Trash/files/tool.exe";
    EXPECT_EQ(ReadText(trash), "MZ");
    EXPECT_EQ(ReadText(rom), "GBA");
    EXPECT_TRUE(LocalRows(engines().Database()).empty());
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(MyGameActionsTest, AProgramThatFindsNoTrashStaysWhereItIsAndTheUserIsTold)
{
    // No trash can be made where the desktop keeps it; the program must not land anywhere else.
    WriteText(m_home / "not-a-folder", "");
    ::setenv("XDG_DATA_HOME", (m_home / "not-a-folder").c_str(), 1);
    fs::create_directories(m_home / "roms");
    const std::string program = m_home / "roms/tool.exe";
    WriteText(program, "MZ");
    StoreLocal(program, "138", "PC", u"工具");
    CMyGameFrame& page = OpenPage();
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("LocalGame")));
    const fs::path here = fs::current_path();
    const bool hadFiles = fs::exists(here / "files");
    ASSERT_TRUE(ClickIn(page.LocalItem(program), "Btn_Delete"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return boxes.size() == 2; }));
    EXPECT_EQ(boxes[1], "删除失败");
    EXPECT_EQ(ReadText(program), "MZ");
    EXPECT_FALSE(fs::exists(here / "files/tool.exe"));
    EXPECT_FALSE(fs::exists(here / "info/tool.exe.trashinfo"));
    if (!hadFiles) {
        EXPECT_FALSE(fs::exists(here / "files")); // what Qt made there went again
    }
}

TEST_F(MyGameActionsTest, RenamingTrimsTheNameRefusesControlCharactersAndIgnoresAnEmptyName)
{
    fs::create_directories(m_home / "roms");
    const std::string rom = m_home / "roms/contra.nes";
    WriteText(rom, "NES");
    StoreLocal(rom, "125", "FC", u"contra");
    CMyGameFrame& page = OpenPage();
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("LocalGame")));

    const auto rename = [&](const QString& typed, bool expectRefusal) {
        bool refused = false;
        auto step = GuiDriver::WhenShown(QStringLiteral("ReNameFrame"), [&](UiLib::WindowImplBase& dialog) {
            GuiDriver::Find(dialog, QStringLiteral("Ed_GameName"))->SetText(typed);
            GuiDriver::Click(dialog, QStringLiteral("Btn_Ok"));
            if (GuiDriver::FindWindow(QStringLiteral("ReNameFrame"))) {
                // Still open: it said why under the box; the user gives up.
                refused = !GuiDriver::Find(dialog, QStringLiteral("Lb_Error"))->GetText().isEmpty();
                GuiDriver::Click(dialog, QStringLiteral("Btn_Cancel"));
            }
        });
        ASSERT_TRUE(ClickIn(page.LocalItem(rom), "Btn_Rename", true));
        ASSERT_TRUE(GuiDriver::WaitFor([&] {
            return step && !step->isActive() && !GuiDriver::FindWindow(QStringLiteral("ReNameFrame"));
        }));
        EXPECT_EQ(refused, expectRefusal);
    };

    rename(QStringLiteral("  魂斗罗 力量  "), false);
    EXPECT_EQ(ItemName(page.LocalItem(rom)), QStringLiteral("魂斗罗 力量"));
    EXPECT_EQ(engines().MyGames().FindLocalGame(rom)->GameName, u"魂斗罗 力量");
    std::vector<LocalGame> rows = LocalRows(engines().Database());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].GameName, u"魂斗罗 力量");

    rename(QStringLiteral("   "), false); // empty: nothing changes
    rename(QStringLiteral("魂斗罗\n第二行"), true);
    EXPECT_EQ(ItemName(page.LocalItem(rom)), QStringLiteral("魂斗罗 力量"));
    rows = LocalRows(engines().Database());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].GameName, u"魂斗罗 力量");
}

/// The file manager's side of the freedesktop FileManager1 service: records what it was asked to show.
class FakeFileManager final : public QDBusVirtualObject
{
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() != QLatin1String("ShowItems"))
            return false;
        {
            std::lock_guard lock(m_lock);
            m_shown << message.arguments().value(0).toStringList();
        }
        connection.send(message.createReply());
        return true;
    }
    QStringList Shown()
    {
        std::lock_guard lock(m_lock);
        return m_shown;
    }

private:
    std::mutex m_lock;
    QStringList m_shown;
};

TEST_F(MyGameActionsTest, OpenFolderShowsTheFileSelectedWhereTheFileManagerCanElseOpensItsFolder)
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        GTEST_SKIP() << "no dbus-daemon for a bus of the test's own";
    // A session bus of the test's own, with a file manager on it.
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                 QStringLiteral("--print-address=1")});
    ASSERT_TRUE(daemon.waitForReadyRead(5000));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    QDBusConnection client = QDBusConnection::connectToBus(address, QStringLiteral("play-test-client"));
    QDBusConnection manager = QDBusConnection::connectToBus(address, QStringLiteral("play-test-manager"));
    ASSERT_TRUE(client.isConnected() && manager.isConnected());
    FakeFileManager fake;
    ASSERT_TRUE(manager.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"), &fake));
    ASSERT_TRUE(manager.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    std::vector<QUrl> opened;
    UiLib::SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });

    fs::create_directories(m_home / "roms");
    const std::string rom = m_home / "roms/魂斗罗 1.nes";
    WriteText(rom, "NES");
    StoreLocal(rom, "125", "FC", u"魂斗罗");
    StoreInstalled("1001", "125", "FC");
    fs::create_directories(GamesRoot() + "FC/1001");
    CMyGameFrame& page = OpenPage();
    page.Reveal().SetBus(client);

    ASSERT_TRUE(ClickIn(page.InstalledItem("1001"), "Btn_OpenFolder"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(GamesRoot() + "FC/1001/")));

    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("LocalGame")));
    ASSERT_TRUE(ClickIn(page.LocalItem(rom), "Btn_OpenFolder"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return !fake.Shown().isEmpty(); }));
    EXPECT_EQ(fake.Shown(), QStringList{QUrl::fromLocalFile(QString::fromStdString(rom)).toString()});
    EXPECT_EQ(opened.size(), 1u);

    // Without a file manager on the bus the folder opens.
    manager.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    ASSERT_TRUE(ClickIn(page.LocalItem(rom), "Btn_OpenFolder"));
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return opened.size() == 2; }));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(QString::fromStdString(m_home / "roms")));

    // A game whose file is gone says so instead.
    fs::remove(rom);
    ASSERT_TRUE(ClickIn(page.LocalItem(rom), "Btn_OpenFolder"));
    EXPECT_EQ(boxes, std::vector<std::string>{"游戏文件不存在"});

    UiLib::SetUrlOpener(nullptr);
    m_page.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("play-test-client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("play-test-manager"));
    daemon.terminate();
    daemon.waitForFinished(5000);
}

} // namespace
} // namespace ravelo::test
