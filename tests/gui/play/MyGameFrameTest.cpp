// The my-games page's lists: filled from the store, kept current by the importers' and the download
// engine's messages, filtered by the left bar, fed by drops; its tabs and its launches.
#include "MyGamePageFixture.h"

#include "download/DownloadMessages.h"
#include "emulator/EmulatorMessages.h"
#include "gui/play/CDownLoadGameItemUI.h"
#include "library/DropImporter.h"
#include "library/LocalGameMessages.h"
#include "platform/IniFile.h"
#include "support/FileText.h"

#include <filesystem>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;
using MyGameFrameTest = MyGamePageTest;

constexpr std::size_t kAll = 0, kFC = 2, kGBA = 7; // options of the left bar's system grid
constexpr std::uintptr_t kInstalledGrid = 1, kLocalGrid = 2;

TEST_F(MyGameFrameTest, ListsFollowTheLeftBarsFilterAndNeverShowAGameTwice)
{
    fs::create_directories(m_home / "roms");
    StoreInstalled("1001", "125", "FC");
    StoreInstalled("1021", "120", "GBA");
    const LocalGame gba = StoreLocal(m_home / "roms/poke.gba", "120", "GBA", u"口袋妖怪");
    CMyGameFrame& page = OpenPage();
    EXPECT_EQ(page.InstalledCount(), 2u);
    EXPECT_EQ(page.LocalCount(), 1u);
    EXPECT_EQ(ItemName(page.LocalItem(gba.FilePath)), QStringLiteral("口袋妖怪"));

    // With GBA picked for the imported list, a new FC import stays hidden; "all" shows it.
    Filter(kGBA, kLocalGrid);
    EXPECT_EQ(page.LocalFilter(), 120);
    const std::string fc = m_home / "roms/mario.nes";
    WriteText(fc, "NES");
    ASSERT_TRUE(engines().Drops().Start(page.GetHWND(), 125, {fc}));
    engines().Drops().Wait();
    QCoreApplication::processEvents(); // the import's message
    ASSERT_TRUE(engines().MyGames().HasLocalGame(fc));
    EXPECT_EQ(page.LocalItem(fc), nullptr);
    EXPECT_EQ(page.LocalCount(), 1u);
    Filter(kAll, kLocalGrid);
    EXPECT_NE(page.LocalItem(fc), nullptr);
    EXPECT_EQ(page.LocalCount(), 2u);

    // The same game announced again, or announced before a refill that already shows it, is not added
    // twice; one announced after it was deleted does not come back.
    const std::optional<LocalGame> stored = engines().MyGames().FindLocalGame(fc);
    ASSERT_TRUE(stored);
    page.PostMessage(UM_LOCAL_GAME_IMPORTED, 0,
                     std::make_unique<TypedPayload<LocalGame>>(std::make_unique<LocalGame>(*stored)));
    Filter(kFC, kLocalGrid);
    page.PostMessage(UM_LOCAL_GAME_IMPORTED, 0,
                     std::make_unique<TypedPayload<LocalGame>>(std::make_unique<LocalGame>(*stored)));
    QCoreApplication::processEvents();
    EXPECT_EQ(page.LocalCount(), 1u);
    EXPECT_NE(page.LocalItem(fc), nullptr);
    EXPECT_EQ(page.LocalItem(gba.FilePath), nullptr);
    engines().MyGames().RemoveLocalGame(fc);
    Filter(kAll, kLocalGrid);
    page.PostMessage(UM_LOCAL_GAME_IMPORTED, 0,
                     std::make_unique<TypedPayload<LocalGame>>(std::make_unique<LocalGame>(*stored)));
    QCoreApplication::processEvents();
    EXPECT_EQ(page.LocalItem(fc), nullptr);

    // The installed list has its own filter; a game installed again replaces its item.
    Filter(kGBA, kInstalledGrid);
    EXPECT_EQ(page.InstalledFilter(), 120);
    EXPECT_EQ(page.InstalledCount(), 1u);
    EXPECT_EQ(page.LocalFilter(), 0);
    Gameinfo again = StoreInstalled("1021", "120", "GBA");
    again.GameName = u"口袋骑士 重制版";
    engines().MyGames().PutInstalledGame(again);
    page.PostMessage(UM_GAME_INSTALLED, 0,
                     std::make_unique<TypedPayload<Gameinfo>>(std::make_unique<Gameinfo>(again)));
    QCoreApplication::processEvents();
    EXPECT_EQ(page.InstalledCount(), 1u);
    EXPECT_EQ(ItemName(page.InstalledItem("1021")), QStringLiteral("口袋骑士 重制版"));
    Filter(kAll, kInstalledGrid);
    EXPECT_EQ(page.InstalledCount(), 2u);
}

TEST_F(MyGameFrameTest, ADroppedFolderImportsItsGamesOnceForTheSystemTheListShows)
{
    const std::string folder = m_home / "dropped/";
    fs::create_directories(folder + "more");
    WriteText(folder + "contra.nes", "NES");
    WriteText(folder + "more/ZELDA.NES", "NES");
    WriteText(folder + "readme.txt", "not a game");
    WriteText(folder + "poke.gba", "GBA");
    CMyGameFrame& page = OpenPage();
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("LocalGame")));

    // Under "all" a drop has no system to import for: the user is told, nothing is imported.
    Drop(QStringLiteral("LocalGameView"), {folder});
    EXPECT_TRUE(dragOverSeen); // the list showed itself as the target
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "请先在左侧选择游戏的机种,再拖入游戏文件");
    EXPECT_FALSE(engines().Drops().IsRunning());

    Filter(kFC, kLocalGrid);
    Drop(QStringLiteral("LocalGameView"), {folder});
    ASSERT_TRUE(GuiDriver::WaitFor([&] { return page.LocalCount() == 2; }));
    EXPECT_NE(page.LocalItem(folder + "contra.nes"), nullptr);
    EXPECT_NE(page.LocalItem(folder + "more/ZELDA.NES"), nullptr);
    EXPECT_EQ(page.LocalItem(folder + "poke.gba"), nullptr);

    // The same folder again: nothing new.
    engines().Drops().Wait();
    Drop(QStringLiteral("LocalGameView"), {folder});
    engines().Drops().Wait();
    QCoreApplication::processEvents();
    EXPECT_EQ(page.LocalCount(), 2u);
    EXPECT_EQ(engines().MyGames().LocalGames().size(), 2u);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(MyGameFrameTest, TheTabsTellTheMainWindowWhichGridOfTheLeftBarToShow)
{
    CMyGameFrame& page = OpenPage();
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("LocalGame")));
    std::optional<Message> grid = ToMainWindow(UM_SELECT_MYGAME_GRID);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->wParam, 2u);
    EXPECT_TRUE(GuiDriver::Find(page, QStringLiteral("LocalGameView"))->IsVisible());
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("DownloadGame")));
    grid = ToMainWindow(UM_SELECT_MYGAME_GRID);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->wParam, 1u);
    EXPECT_TRUE(GuiDriver::Find(page, QStringLiteral("DownloadGameView"))->IsVisible());
}

TEST_F(MyGameFrameTest, AGameStartedFromThePageHasItsStartAndEndForwardedToTheMainWindow)
{
    // The demo catalogue's emulator, fetched on the first start, runs without a window and ends.
    ::setenv("RAVELO_DEMO_EMU_HEADLESS", "1", 1);
    WriteProfileString(SettingsFile(), "Set", "HandleType", "1");
    engines().LoadedEmulators();
    const std::string rom = m_home / "roms/contra.nes";
    fs::create_directories(m_home / "roms");
    WriteText(rom, "NES");
    StoreLocal(rom, "125", "FC", u"魂斗罗");
    CMyGameFrame& page = OpenPage();
    ASSERT_TRUE(GuiDriver::Click(page, QStringLiteral("LocalGame")));
    ASSERT_TRUE(ClickIn(page.LocalItem(rom), "Btn_Play"));
    std::optional<Message> start = ToMainWindow(kGameLaunchState, 60000);
    ASSERT_TRUE(start) << "the game did not start";
    EXPECT_EQ(start->wParam, 1u);
    std::optional<Message> end = ToMainWindow(kGameLaunchState);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->wParam, 0u);
    ASSERT_TRUE(
        GuiDriver::WaitFor([&] { return !engines().Launcher().IsBusy() && !m_starter->IsStarting(); }));

    // With the tips switched off only the end comes.
    WriteProfileString(SettingsFile(), "Set", "ShowKeyMapTips", "0");
    ASSERT_TRUE(ClickIn(page.LocalItem(rom), "Btn_Play"));
    end = ToMainWindow(kGameLaunchState, 30000);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->wParam, 0u);
    EXPECT_TRUE(boxes.empty());
    ::unsetenv("RAVELO_DEMO_EMU_HEADLESS");
}

} // namespace
} // namespace ravelo::test
