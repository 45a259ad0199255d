#include "app/Engines.h"

#include "input/InputThread.h"
#include "library/CMyGameStore.h"
#include "library/LocalGameMessages.h"
#include "library/LocalScanWorker.h"
#include "platform/FileSystem.h"
#include "platform/MessageQueue.h"
#include "settings/AppPaths.h"
#include "store/LibraryDatabase.h"
#include "support/TempFolder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace ravelo;
using namespace std::chrono_literals;
using ravelo::test::TempFolder;

namespace {

std::size_t ThreadCount()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

Engines::Setup SetupIn(const TempFolder& root)
{
    Engines::Setup setup;
    setup.databaseFile = root / "program/database/ravelo.db";
    setup.instanceFolder = root / "program/";
    setup.dataFolder = root / "data/";
    setup.settingsFile = root / "program/ravelo.cfg";
    setup.emulatorListUrl = "http://127.0.0.1:9/none";
    setup.imageCacheFolder = root / "data/cache/image/";
    setup.pictureHost = "http://127.0.0.1:9";
    return setup;
}

} // namespace

TEST(Engines, ShutdownEndsEveryThreadTheEnginesStartedAndRefusesLaterWork)
{
    TempFolder root;
    ApplyGamesFolder(root / "games/");
    CreateSystemFolders(SystemCodes);
    const std::size_t before = ThreadCount();
    {
        Engines engines(SetupIn(root));
        MessageQueue window;
        ASSERT_TRUE(engines.LocalScan().Start(window.Handle()));
        engines.Input(); // started on first use
        EXPECT_GT(ThreadCount(), before);
        engines.Shutdown();
        EXPECT_EQ(ThreadCount(), before);
        EXPECT_FALSE(engines.Database().PostWait(DbOperation::AddGame, Gameinfo{}));
        engines.Shutdown(); // again, and once more when it goes
    }
    EXPECT_EQ(ThreadCount(), before);
    ApplyGamesFolder("");
}

TEST(Engines, ANewGamesFolderIsScannedWithoutARestart)
{
    TempFolder root, other;
    ApplyGamesFolder(root / "games/");
    CreateSystemFolders(SystemCodes);
    Engines engines(SetupIn(root));
    MessageQueue window;
    ASSERT_TRUE(engines.LocalScan().Start(window.Handle()));

    engines.ChangeGamesFolder(other / "Games");
    EXPECT_EQ(GamesFolder(), other / "Games/");
    EXPECT_TRUE(FolderExists(other / "Games/LocalGame/FC"));
    const std::string game = other / "Games/LocalGame/FC/Mario.nes";
    std::ofstream(game) << "NES";
    std::optional<Message> imported = window.WaitFor(UM_LOCAL_GAME_IMPORTED, 10s);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->TakePayload<LocalGame>()->FilePath, game);
    EXPECT_TRUE(engines.MyGames().HasLocalGame(game));
    engines.Shutdown();
    ApplyGamesFolder("");
}
