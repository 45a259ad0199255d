// The play windows' decisions apart from their controls: the gamepad test's readings, the my-games
// filters, folders and names, and the key-map tip files.
#include "gui/play/KeyMapTips.h"
#include "gui/play/MyGameView.h"
#include "gui/play/PadTestView.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ravelo::test {
namespace {

TEST(PadTestView, TriggersRunTheMotorsAndLightTheirLampsAboveOneHundred)
{
    EXPECT_EQ(MotorSpeed(0), 0);
    EXPECT_EQ(MotorSpeed(1), 511);
    EXPECT_EQ(MotorSpeed(128), 33023);
    EXPECT_EQ(MotorSpeed(255), 65535);
    EXPECT_FALSE(TriggerLit(0));
    EXPECT_FALSE(TriggerLit(100));
    EXPECT_TRUE(TriggerLit(101));
    EXPECT_TRUE(TriggerLit(255));
}

TEST(PadTestView, SticksInsideTheDeadZoneReadAsCentredAndTheKnobMovesUpForPositiveY)
{
    EXPECT_EQ(ApplyDeadZone(7000, 7000), std::make_pair(0, 0));
    EXPECT_EQ(ApplyDeadZone(7000, 9000), std::make_pair(7000, 9000)); // one axis out is enough
    EXPECT_EQ(ApplyDeadZone(-7864, 7864), std::make_pair(0, 0));      // strictly inside 7864.08
    EXPECT_EQ(ApplyDeadZone(-7865, 0), std::make_pair(-7865, 0));
    // Six pixels of travel at most with the default margin; up on the screen for a stick pushed up.
    EXPECT_EQ(KnobOffset(7000, 9000, 10), std::make_pair(1, -1));
    EXPECT_EQ(KnobOffset(32767, 32767, 10), std::make_pair(5, -5));
    EXPECT_EQ(KnobOffset(-32768, -32768, 10), std::make_pair(-6, 6));
    EXPECT_EQ(KnobOffset(0, 0, 10), std::make_pair(0, 0));
}

TEST(PadTestView, TheChosenPadStaysWhileConnectedElseTheFirstConnectedIsShown)
{
    EXPECT_EQ(SlotToShow({{0, 0, 0, 0}}, std::nullopt), std::nullopt);
    EXPECT_EQ(SlotToShow({{0, 0, 1, 0}}, std::nullopt), 2u);
    EXPECT_EQ(SlotToShow({{1, 1, 1, 0}}, 2), 2u);
    EXPECT_EQ(SlotToShow({{1, 1, 0, 0}}, 2), 0u); // the chosen pad left
    EXPECT_EQ(SlotToShow({{0, 0, 0, 0}}, 1), std::nullopt);
}

TEST(MyGameView, LeftBarOptionsFilterBySystemNumber)
{
    EXPECT_EQ(FilterSystemNumber(0), 0);
    EXPECT_EQ(FilterSystemNumber(1), 138);
    EXPECT_EQ(FilterSystemNumber(2), 125);
    EXPECT_EQ(FilterSystemNumber(7), 120);
    EXPECT_EQ(FilterSystemNumber(16), 126);
    EXPECT_EQ(FilterSystemNumber(18), 146);
    EXPECT_EQ(FilterSystemNumber(19), 0); // beyond the grid: all
    EXPECT_TRUE(PassesFilter("125", 0));
    EXPECT_TRUE(PassesFilter("125", 125));
    EXPECT_FALSE(PassesFilter("120", 125));
    EXPECT_FALSE(PassesFilter("1250", 125));
    EXPECT_EQ(SystemLabel("146"), "MAME+");
    EXPECT_EQ(SystemLabel("125"), "FC");
    EXPECT_EQ(SystemLabel("999"), "999");
    EXPECT_EQ(SizeLabel("1.50"), "1.50MB");
    EXPECT_EQ(SizeLabel(""), "");
}

TEST(MyGameView, AnInstalledGamesFolderIsBuiltFromPlainNamesNeverFromTheStoredPath)
{
    Gameinfo game;
    game.GameId = "1001";
    game.EmulatorShortName = "FC";
    game.FilePath = "/home/someone/Documents/"; // what the database says is not used
    EXPECT_EQ(InstalledGameFolder("/games/", game), "/games/FC/1001/");
    EXPECT_EQ(InstalledGameFolder("/games", game), "/games/FC/1001/");
    EXPECT_EQ(InstalledGameFolder("", game), std::nullopt);
    for (const char* id : {"..", "../1001", "a/b", "", "x\\y"}) {
        Gameinfo bad = game;
        bad.GameId = id;
        EXPECT_EQ(InstalledGameFolder("/games/", bad), std::nullopt) << id;
    }
    Gameinfo badSystem = game;
    badSystem.EmulatorShortName = "..";
    EXPECT_EQ(InstalledGameFolder("/games/", badSystem), std::nullopt);

    EXPECT_TRUE(IsRunningGame("/games/FC/1001/1001.nes", "/games/FC/1001/"));
    EXPECT_TRUE(IsRunningGame("/games/PC/9/", "/games/PC/9/"));
    EXPECT_FALSE(IsRunningGame("/games/FC/10011/a.nes", "/games/FC/1001/"));
    EXPECT_FALSE(IsRunningGame("", "/games/FC/1001/"));
    EXPECT_TRUE(IsRunningGame("/roms/mario.nes", "/roms/mario.nes"));
}

TEST(MyGameView, ImportedGamesShowTheirArcadeIconProgramIconOrSystemPicture)
{
    TempFolder folder;
    LocalGame game;
    game.EmulatorId = "125";
    game.FilePath = folder / "mario.nes";
    EXPECT_EQ(LocalGameIcon(game), "skin\\ui\\local_fc.png");
    game.EmulatorId = "126";
    EXPECT_EQ(LocalGameIcon(game), "skin\\ui\\local_fba.png");
    game.EmulatorId = "146";
    EXPECT_EQ(LocalGameIcon(game), "skin\\ui\\local_mameplus.png");
    WriteText(folder / "sf2.png", "PNG");
    game.Icon = folder / "sf2.png";
    EXPECT_EQ(LocalGameIcon(game), folder / "sf2.png");

    LocalGame program;
    program.EmulatorId = "138";
    program.FilePath = folder / "tool.v2.exe";
    EXPECT_EQ(LocalGameIcon(program), "skin\\ui\\DefaultGameIcon.png");
    WriteText(folder / "tool.v2.png", "PNG");
    EXPECT_EQ(LocalGameIcon(program), folder / "tool.v2.png");
    WriteText(folder / "tool.v2.ico", "ICO"); // ".ico" is looked for first
    EXPECT_EQ(LocalGameIcon(program), folder / "tool.v2.ico");
}

TEST(MyGameView, NewNamesAreTrimmedAndRefusedWithControlCharactersOrBeyondTheCap)
{
    std::u16string name = u"  魂斗罗 2\u3000 ";
    EXPECT_EQ(CheckGameName(name), NameCheck::Ok);
    EXPECT_EQ(name, u"魂斗罗 2");
    name = u" \t ";
    EXPECT_EQ(CheckGameName(name), NameCheck::Empty);
    name = u"a\nb";
    EXPECT_EQ(CheckGameName(name), NameCheck::Control);
    name = u"a\u0085b";
    EXPECT_EQ(CheckGameName(name), NameCheck::Control);
    name = std::u16string(64, u'字');
    EXPECT_EQ(CheckGameName(name), NameCheck::Ok);
    name = std::u16string(65, u'字');
    EXPECT_EQ(CheckGameName(name), NameCheck::TooLong);
    // 64 characters outside the basic plane are 128 UTF-16 units and still fit.
    name.clear();
    for (int i = 0; i < 64; ++i)
        name += u"\U0001F3AE";
    EXPECT_EQ(CheckGameName(name), NameCheck::Ok);
}

TEST(KeyMapTips, SystemsAndInputKindsChooseTheirFile)
{
    EXPECT_EQ(KeyMapTipsFile("146", 1), "LocalGameRes/keymap/gamepad/手柄MAME.txt");
    EXPECT_EQ(KeyMapTipsFile("123", 1), "LocalGameRes/keymap/gamepad/手柄MAME.txt");
    EXPECT_EQ(KeyMapTipsFile("126", 1), "LocalGameRes/keymap/gamepad/手柄FBA.txt");
    EXPECT_EQ(KeyMapTipsFile("125", 2), "LocalGameRes/keymap/keyboard/键盘FC.txt");
    EXPECT_EQ(KeyMapTipsFile("138", 1), "");  // a native program has no tips
    EXPECT_EQ(KeyMapTipsFile("1250", 1), ""); // compared exactly
    EXPECT_EQ(KeyMapTipsFile("125", 3), "");
    // Every file the table names is shipped.
    for (const char* system : {"119", "120", "121", "122", "123", "124", "125", "126", "127", "129", "130",
                               "131", "133", "140", "142", "146", "148"})
        for (int kind : {1, 2})
            EXPECT_TRUE(std::filesystem::is_regular_file(std::string(RAVELO_SOURCE_DIR "/") +
                                                         KeyMapTipsFile(system, kind)))
                << system << " " << kind;
}

TEST(KeyMapTips, FilesAreReadLineByLineAndCappedAtAWholeCharacter)
{
    TempFolder folder;
    WriteText(folder / "tips.txt", "上: 跳\r\nA: 攻击\nlast");
    EXPECT_EQ(ReadKeyMapTips(folder / "tips.txt"), "上: 跳\nA: 攻击\nlast\n");
    EXPECT_EQ(ReadKeyMapTips(folder / "missing.txt"), "");
    EXPECT_EQ(ReadKeyMapTips(folder.Path()), ""); // a folder is not a file
    EXPECT_EQ(ReadKeyMapTips(""), "");

    // A huge file is cut at 64 KiB, and never in the middle of a character.
    std::string big(kMaxKeyMapTipsBytes - 1, 'a');
    big += "键键键";
    WriteText(folder / "big.txt", big);
    const std::string read = ReadKeyMapTips(folder / "big.txt");
    EXPECT_EQ(read, std::string(kMaxKeyMapTipsBytes - 1, 'a') + "\n");

    // Bytes that are not UTF-8 are kept for the reader to show as replacements.
    WriteText(folder / "latin1.txt", "caf\xe9");
    EXPECT_EQ(ReadKeyMapTips(folder / "latin1.txt"), "caf\xe9\n");
}

} // namespace
} // namespace ravelo::test
