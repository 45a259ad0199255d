#include "settings/AppPaths.h"

#include "platform/FileSystem.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ravelo;
using ravelo::test::TempFolder;

TEST(AppPaths, RaveloHomeHoldsEverythingAndDataGoesUnderTmp)
{
    TempFolder home, tmp;
    ::setenv("RAVELO_HOME", home.Path().c_str(), 1);
    ::setenv("TMPDIR", tmp.Path().c_str(), 1);
    ComputeProgramPaths();
    EXPECT_EQ(InstanceFolder, home.Path());
    EXPECT_EQ(SettingsFilePath, home / "ravelo.cfg");
    EXPECT_EQ(DataFolder, tmp / "RaveloAppStore-" + std::to_string(::geteuid()) + "/");
    EXPECT_EQ(ArcadeImageFolder,
              tmp / "RaveloAppStore-" + std::to_string(::geteuid()) + "/cache/image/arcade/");
    CreateProgramFolders();
    for (const std::string* folder :
         {&DataFolder, &ImageCacheFolder, &ArcadeImageFolder, &MameImageFolder, &PcImageFolder})
        EXPECT_TRUE(FolderExists(*folder)) << *folder;
    struct stat st
    {
    };
    ASSERT_EQ(::stat(DataFolder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u); // packages are unpacked and run from here: the user's alone
    ::unsetenv("RAVELO_HOME");
    ::unsetenv("TMPDIR");
}

TEST(AppPaths, InstalledProgramFollowsXdgFolders)
{
    TempFolder config, data;
    ::unsetenv("RAVELO_HOME");
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    ::setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
    // The test executable's folder is the build tree's bin folder only for the program itself;
    // tests run from their own folder, which holds no portable.txt.
    ASSERT_FALSE(FileExists(ExecutableFolder() + "portable.txt"));
    ComputeProgramPaths();
    EXPECT_EQ(InstanceFolder, data / "ravelo/");
    EXPECT_EQ(SettingsFilePath, config / "ravelo/ravelo.cfg");
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_DATA_HOME");
}

TEST(AppPaths, GamesFolderEndsWithASeparatorEvenWhenTheSettingHasNone)
{
    TempFolder temp;
    const std::string withoutSlash = temp.Path().substr(0, temp.Path().size() - 1) + "/Games";
    ApplyGamesFolder(withoutSlash);
    EXPECT_EQ(GamesFolder(), withoutSlash + "/");
    EXPECT_EQ(LocalGameFolder(), withoutSlash + "/LocalGame/");
    ApplyGamesFolder(temp / "Games/");
    EXPECT_EQ(LocalGameFolder(), temp / "Games/LocalGame/");
    CreateSystemFolders(SystemCodes);
    for (const char* code : {"FC", "SFC", "ARCADE", "MAMEPLUS", "ONS"})
        EXPECT_TRUE(FolderExists(LocalGameFolder() + code)) << code;
    ApplyGamesFolder("");
    EXPECT_EQ(LocalGameFolder(), "");
}
