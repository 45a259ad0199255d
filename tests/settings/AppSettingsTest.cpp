#include "settings/AppSettings.h"
#include "settings/UserIdentity.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace ravelo;
using ravelo::test::TempFolder;

TEST(AppSettings, DefaultsWithoutAFile)
{
    TempFolder temp;
    const AppSettings settings(temp / "ravelo.cfg");
    EXPECT_EQ(settings.RomPath, "");
    EXPECT_EQ(settings.UpdateType, "0");
    EXPECT_EQ(settings.HandleType, "0");
    EXPECT_EQ(settings.ShowKeyMapTips, "1");
    EXPECT_EQ(settings.AutoRun, "0");
    EXPECT_EQ(settings.IsTray, "1");
    EXPECT_EQ(settings.Language, "");
}

TEST(AppSettings, SaveWritesAllSevenKeysInOrder)
{
    TempFolder temp;
    const std::string file = temp / "ravelo.cfg";
    AppSettings settings(file);
    settings.HandleType = "2";
    settings.Language = "en";
    settings.Save();
    EXPECT_EQ(test::ReadText(file), "[Set]\nRomPath=\nUpdateType=0\nHandleType=2\nShowKeyMapTips=1\n"
                                    "AutoRun=0\nIsTray=1\nLanguage=en\n");
    const AppSettings again(file);
    EXPECT_EQ(again.HandleType, "2");
    EXPECT_EQ(again.Language, "en");
}

TEST(AppSettings, ValuesAreTakenVerbatimForExactComparison)
{
    TempFolder temp;
    const std::string file = temp / "ravelo.cfg";
    test::WriteText(file, "[Set]\nUpdateType=2\nIsTray=01\nRomPath=/home/玩家/游戏 库/\n");
    const AppSettings settings(file);
    EXPECT_EQ(settings.UpdateType, "2");
    EXPECT_NE(settings.IsTray, "1");
    EXPECT_EQ(settings.RomPath, "/home/玩家/游戏 库/");
}

TEST(AppSettings, AnInjectedRomPathCannotChangeOtherKeys)
{
    TempFolder temp;
    const std::string file = temp / "ravelo.cfg";
    AppSettings settings(file);
    settings.RomPath = "/games/\nIsTray=0";
    settings.Save();
    const AppSettings again(file);
    EXPECT_EQ(again.IsTray, "1");
    EXPECT_EQ(again.RomPath, ""); // the bad value was refused, the rest written
    EXPECT_EQ(again.ShowKeyMapTips, "1");
}

TEST(AppSettings, SaveChangesKeepsWhatAnotherWriterChangedMeanwhile)
{
    TempFolder temp;
    const std::string file = temp / "ravelo.cfg";
    test::WriteText(file, "[Set]\nHandleType=1\nIsTray=1\n");
    const AppSettings before(file);
    AppSettings edited = before;
    edited.IsTray = "0";
    // Another process chooses the keyboard while the copy is being edited.
    test::WriteText(file, "[Set]\nHandleType=2\nIsTray=1\n");
    EXPECT_TRUE(edited.SaveChanges(before));
    const AppSettings after(file);
    EXPECT_EQ(after.IsTray, "0");
    EXPECT_EQ(after.HandleType, "2");
    EXPECT_EQ(test::ReadText(file), "[Set]\nHandleType=2\nIsTray=0\n"); // untouched keys not added

    edited.RomPath = "/games/\nIsTray=1"; // refused: it would inject a line
    EXPECT_FALSE(edited.SaveChanges(before));
    EXPECT_EQ(AppSettings(file).IsTray, "0");
}

TEST(UserIdentity, LoadsAndSavesTheUserSection)
{
    TempFolder temp;
    const std::string file = temp / "ravelo.cfg";
    UserIdentity user(file);
    EXPECT_FALSE(user.IsRegistered());
    user.Uid = "10086";
    EXPECT_FALSE(user.IsRegistered()); // a Uid without a Ticket is not registered
    user.Ticket = "a%2Bb%3D";
    user.Save();
    AppSettings(file).Save(); // the other section is kept
    const UserIdentity again(file);
    EXPECT_EQ(again.Uid, "10086");
    EXPECT_EQ(again.Ticket, "a%2Bb%3D");
    EXPECT_TRUE(again.IsRegistered());
}
