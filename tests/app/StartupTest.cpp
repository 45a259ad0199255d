#include "app/Startup.h"

#include "platform/FileSystem.h"
#include "settings/AppPaths.h"
#include "settings/AppSettings.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace ravelo;
using ravelo::test::TempFolder;

class StartupTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("RAVELO_HOME", home.Path().c_str(), 1);
        ::setenv("TMPDIR", tmp.Path().c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("RAVELO_HOME");
        ::unsetenv("TMPDIR");
        ApplyGamesFolder("");
    }
    TempFolder home, tmp, games;
};

TEST_F(StartupTest, FirstStartMakesOnlyDataFoldersAndRunsTheMainWindow)
{
    bool ran = false;
    EXPECT_EQ(RunProgram([&](Engines&) {
                  ran = true;
                  return 0;
              }),
              0);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(FolderExists(tmp / "RaveloAppStore-" + std::to_string(::geteuid()) + "/cache/image/arcade"));
    EXPECT_TRUE(FolderExists(tmp / "RaveloAppStore-" + std::to_string(::geteuid()) + "/cache/image/mame"));
    EXPECT_TRUE(FolderExists(tmp / "RaveloAppStore-" + std::to_string(::geteuid()) + "/cache/image/pc"));
    EXPECT_EQ(GamesFolder(), "");
    EXPECT_EQ(LocalGameFolder(), "");
    EXPECT_FALSE(FileExists(home / "ravelo.cfg")); // reading settings writes nothing
}

TEST_F(StartupTest, AKnownGamesFolderGetsItsSystemFolders)
{
    AppSettings settings(home / "ravelo.cfg");
    settings.RomPath = games / "我的 游戏/";
    settings.Save();
    EXPECT_EQ(RunProgram(nullptr), 0);
    EXPECT_EQ(GamesFolder(), games / "我的 游戏/");
    EXPECT_EQ(LocalGameFolder(), games / "我的 游戏/LocalGame/");
    EXPECT_TRUE(FolderExists(LocalGameFolder() + "FC"));
    EXPECT_TRUE(FolderExists(LocalGameFolder() + "ONS"));
}

TEST_F(StartupTest, TheMainWindowsCodeIsReturned)
{
    EXPECT_EQ(RunProgram([](Engines&) { return 886; }), 886);
}
