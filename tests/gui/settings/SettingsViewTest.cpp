#include "gui/settings/SettingsView.h"

#include "platform/FileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace ravelo {
namespace {

using test::TempFolder;

AppSettings Settings(const std::string& handle, const std::string& update, const std::string& tray,
                     const std::string& tips)
{
    TempFolder none;
    AppSettings settings(none / "missing.cfg");
    settings.HandleType = handle;
    settings.UpdateType = update;
    settings.IsTray = tray;
    settings.ShowKeyMapTips = tips;
    return settings;
}

TEST(SettingsView, PairsShowOneNeitherOrTheOtherAndWriteBackOnlyWhatIsSelected)
{
    const AppSettings odd = Settings("0", "2", "01", "");
    const SettingsOptions shown = OptionsFromSettings(odd, "1");
    EXPECT_FALSE(shown.xinput || shown.keyboard); // "0": not chosen yet
    EXPECT_FALSE(shown.tray || shown.exit);       // "01" is neither "1" nor "0"
    EXPECT_FALSE(shown.showKeyMap || shown.hideKeyMap);
    EXPECT_TRUE(shown.autoUpdate); // anything but "0" is automatic
    EXPECT_FALSE(shown.manualUpdate);
    EXPECT_TRUE(shown.padExitCombo);

    AppSettings back = odd;
    ApplyOptions(shown, back);
    EXPECT_EQ(back.HandleType, "0");
    EXPECT_EQ(back.IsTray, "01");
    EXPECT_EQ(back.ShowKeyMapTips, "");
    EXPECT_EQ(back.UpdateType, "2"); // automatic already: not rewritten as "1"
    EXPECT_EQ(back.AutoRun, "0");

    SettingsOptions chosen = shown;
    chosen.keyboard = true;
    chosen.exit = true;
    chosen.hideKeyMap = true;
    chosen.autoUpdate = false;
    chosen.manualUpdate = true;
    chosen.autoRun = true;
    chosen.padExitCombo = false;
    ApplyOptions(chosen, back);
    EXPECT_EQ(back.HandleType, "2");
    EXPECT_EQ(back.IsTray, "0");
    EXPECT_EQ(back.ShowKeyMapTips, "0");
    EXPECT_EQ(back.UpdateType, "0");
    EXPECT_EQ(back.AutoRun, "1");
    chosen.autoUpdate = true;
    chosen.manualUpdate = false;
    AppSettings manual = back;
    ApplyOptions(chosen, manual);
    EXPECT_EQ(manual.UpdateType, "1");
    EXPECT_EQ(PadExitComboValue(chosen), "0");
    EXPECT_FALSE(OptionsFromSettings(back, "0").padExitCombo);
    EXPECT_TRUE(OptionsFromSettings(back, "").padExitCombo);
}

TEST(SettingsView, TheLanguageShowsAsOneOfThreeAndAHandWrittenOneStaysUntilChosen)
{
    AppSettings settings;
    SettingsOptions options = OptionsFromSettings(settings, "1");
    EXPECT_TRUE(options.languageSystem);
    EXPECT_FALSE(options.languageChinese || options.languageEnglish);

    settings.Language = "en_GB";
    options = OptionsFromSettings(settings, "1");
    EXPECT_TRUE(options.languageEnglish);
    ApplyOptions(options, settings);
    EXPECT_EQ(settings.Language, "en_GB"); // the same language as written keeps its country

    options.languageEnglish = false;
    options.languageChinese = true;
    ApplyOptions(options, settings);
    EXPECT_EQ(settings.Language, "zh_CN");

    settings.Language = "fr"; // none of the options: nothing is shown and nothing changes
    options = OptionsFromSettings(settings, "1");
    EXPECT_FALSE(options.languageSystem || options.languageChinese || options.languageEnglish);
    ApplyOptions(options, settings);
    EXPECT_EQ(settings.Language, "fr");

    options.languageSystem = true;
    ApplyOptions(options, settings);
    EXPECT_TRUE(settings.Language.empty());
}

TEST(SettingsView, GamesFoldersGetATrailingSeparatorAndMountRootsAGamesFolder)
{
    EXPECT_EQ(ProposedGamesFolder("/home/玩家"), "/home/玩家/Games/");
    EXPECT_EQ(ProposedGamesFolder("/home/u/"), "/home/u/Games/");
    EXPECT_EQ(ProposedGamesFolder(""), "/Games/");

    TempFolder temp;
    const std::string roms = temp / "Roms";
    ASSERT_TRUE(CreateFolderChain(roms + "/"));
    EXPECT_EQ(GamesFolderForChoice(roms), roms + "/");
    EXPECT_EQ(GamesFolderForChoice(roms + "/"), roms + "/");
    EXPECT_EQ(GamesFolderForChoice("/"), "/Games/");
    struct stat proc
    {
    };
    if (::stat("/proc/self", &proc) == 0) {
        EXPECT_EQ(GamesFolderForChoice("/proc"), "/proc/Games/");
    }
    EXPECT_EQ(GamesFolderForChoice(""), "");
    EXPECT_EQ(GamesFolderForChoice("relative/games"), "");
}

TEST(SettingsView, AGamesFolderMustBeMadeAndWritable)
{
    TempFolder temp;
    std::string reason;
    EXPECT_TRUE(PrepareGamesFolder(temp / "a/b/Games/", &reason)) << reason;
    EXPECT_TRUE(FolderExists(temp / "a/b/Games/"));

    ASSERT_TRUE(WriteFileAtomically(temp / "file", "x"));
    EXPECT_FALSE(PrepareGamesFolder(temp / "file/Games/", &reason));
    EXPECT_FALSE(reason.empty());

    if (::geteuid() != 0) { // root writes anywhere
        ASSERT_TRUE(CreateFolderChain(temp / "locked/"));
        ::chmod((temp / "locked").c_str(), 0500);
        reason.clear();
        EXPECT_FALSE(PrepareGamesFolder(temp / "locked/", &reason));
        EXPECT_FALSE(reason.empty());
        ::chmod((temp / "locked").c_str(), 0700);
    }
}

TEST(SettingsView, AnEmulatorIsDescribedByNameVersionDateAndNotes)
{
    EmulatorInfo record;
    record.Name = u"演示模拟器";
    record.Version = "1.2.3";
    record.UpdateDate = "2024-05-01";
    EXPECT_EQ(EmulatorDescription(record), "演示模拟器\n版本：1.2.3\n更新：2024-05-01");
    record.Description = u"支持存档";
    EXPECT_EQ(EmulatorDescription(record), "演示模拟器\n版本：1.2.3\n更新：2024-05-01\n支持存档");
}

} // namespace
} // namespace ravelo
