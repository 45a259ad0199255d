#include "emulator/CommandLineTemplate.h"
#include "emulator/GameFileSearch.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace ravelo;
using ravelo::test::TempFolder;
using ravelo::test::WriteText;

TEST(CommandLineTemplate, TildeAtAndPlainForms)
{
    const std::string sf2 = QuoteGamePath("/G/sf2.zip");
    EXPECT_EQ(ApplyCommandLineTemplate("-rom ~", sf2), "-rom sf2");
    EXPECT_EQ(ApplyCommandLineTemplate("@ -fullscreen", QuoteGamePath("/G/a.iso")),
              "\"/G/a.iso\" -fullscreen");
    EXPECT_EQ(ApplyCommandLineTemplate("", sf2), "\"/G/sf2.zip\"");
    // Plain: the quoted path follows directly; a blank only when the template ends with one.
    EXPECT_EQ(ApplyCommandLineTemplate("--game ", sf2), "--game \"/G/sf2.zip\"");
    EXPECT_EQ(ApplyCommandLineTemplate("--game=", sf2), "--game=\"/G/sf2.zip\"");
    // Only the first marker is replaced, and "~" wins over "@".
    EXPECT_EQ(ApplyCommandLineTemplate("~ @ ~", sf2), "sf2 @ ~");
    // The base name: after the last separator of either kind, without the last extension.
    EXPECT_EQ(ApplyCommandLineTemplate("~", QuoteGamePath("D:\\g\\Mario.Bros.nes")), "Mario.Bros");
    EXPECT_EQ(ApplyCommandLineTemplate("~", QuoteGamePath("/游戏/三国志")), "三国志");
}

namespace {

Gameinfo Game(const std::string& folder, const std::string& id, const std::string& system,
              const std::string& fileName = "")
{
    Gameinfo game;
    game.GameId = id;
    game.FilePath = folder;
    game.EmulatorId = system;
    game.FileName = fileName;
    return game;
}

} // namespace

TEST(GameFileSearch, CartridgeAndArcadeGamesByIdExtensionAndFileName)
{
    TempFolder temp;
    const std::string folder = temp / "FC/1001/";
    std::filesystem::create_directories(folder);
    WriteText(folder + "1001.zip", "z");
    WriteText(folder + "1001.nes", "n");
    // The list's order decides: .nes comes before .zip.
    EXPECT_EQ(GameFileSearch::FindGameFile(Game(folder, "1001", "125")), folder + "1001.nes");
    EXPECT_FALSE(GameFileSearch::FindGameFile(Game(folder, "1002", "125")));
    EXPECT_FALSE(GameFileSearch::FindGameFile(Game(folder, "1001", "999"))); // no such system
    EXPECT_FALSE(GameFileSearch::FindGameFile(Game(folder, "../1001", "125")));

    WriteText(folder + "sf2.zip", "a");
    EXPECT_EQ(GameFileSearch::FindGameFile(Game(folder, "1001", "126", "sf2.zip")), folder + "sf2.zip");
    EXPECT_FALSE(GameFileSearch::FindGameFile(Game(folder, "1001", "126", "kof.zip")));
    EXPECT_FALSE(GameFileSearch::FindGameFile(Game(folder, "1001", "123", "../1001/sf2.zip")));
    // A native program's "file" is its folder.
    EXPECT_EQ(GameFileSearch::FindGameFile(Game(folder, "1001", "138")), folder);
}

TEST(GameFileSearch, DiscSystemsScanTheFolderAndOfferTheDiscsInSuffixOrder)
{
    TempFolder temp;
    const std::string ps = temp / "PS/1234/";
    std::filesystem::create_directories(ps);
    WriteText(ps + "1234_B.BIN", "b");
    WriteText(ps + "1234_A.BIN", "a");
    WriteText(ps + "1234_D.BIN", "d"); // a gap: there is no disc C
    const Gameinfo game = Game(ps, "1234", "119");
    EXPECT_FALSE(GameFileSearch::FindGameFile(game)); // three .BIN files: no single image
    const std::vector<std::string> discs = GameFileSearch::FindDiscs(game);
    EXPECT_EQ(discs, (std::vector<std::string>{ps + "1234_A.BIN", ps + "1234_B.BIN", ps + "1234_D.BIN"}));

    // PSP: no id-named file, one image with the extension in capitals.
    const std::string psp = temp / "PSP/77/";
    std::filesystem::create_directories(psp + "folder.iso"); // folders never count
    WriteText(psp + "Some Title.ISO", "i");
    WriteText(psp + "readme.txt", "r");
    EXPECT_EQ(GameFileSearch::FindGameFile(Game(psp, "77", "129")), psp + "Some Title.ISO");
    WriteText(psp + "Other Title.iso", "j");
    EXPECT_FALSE(GameFileSearch::FindGameFile(Game(psp, "77", "129")));
    EXPECT_TRUE(GameFileSearch::FindDiscs(Game(psp, "77", "129")).empty());

    // Cartridge systems have no discs.
    WriteText(ps + "1234_A.nes", "n");
    EXPECT_TRUE(GameFileSearch::FindDiscs(Game(ps, "1234", "125")).empty());
}

TEST(GameFileSearch, NamesMatchInAnyCaseOnACaseSensitiveDisk)
{
    TempFolder temp;
    // A cartridge whose package spelled the extension in capitals.
    const std::string fc = temp / "FC/1001/";
    std::filesystem::create_directories(fc);
    WriteText(fc + "1001.NES", "n");
    EXPECT_EQ(GameFileSearch::FindGameFile(Game(fc, "1001", "125")), fc + "1001.NES");
    // Both spellings on disk: the one written as searched wins, whatever the listing order.
    WriteText(fc + "1001.nes", "n");
    WriteText(fc + "1001.Nes", "n");
    EXPECT_EQ(GameFileSearch::FindGameFile(Game(fc, "1001", "125")), fc + "1001.nes");
    // Only case variants: the first in byte order, so the choice does not depend on the disk.
    std::filesystem::remove(fc + "1001.nes");
    EXPECT_EQ(GameFileSearch::FindGameFile(Game(fc, "1001", "125")), fc + "1001.NES");

    // The id-named image of a disc system, with an extension the list spells otherwise (".Bin").
    const std::string ps2 = temp / "PS2/55/";
    std::filesystem::create_directories(ps2);
    WriteText(ps2 + "55.bin", "b");
    WriteText(ps2 + "other.BIN", "o"); // two .bin files: only the id-named lookup can find it
    EXPECT_EQ(GameFileSearch::FindGameFile(Game(ps2, "55", "142")), ps2 + "55.bin");

    // Disc suffixes in lower case, and mixed with upper case, keep their order A to D.
    const std::string ps = temp / "PS/1234/";
    std::filesystem::create_directories(ps);
    WriteText(ps + "1234_b.bin", "b");
    WriteText(ps + "1234_a.BIN", "a");
    WriteText(ps + "1234_C.Bin", "c");
    WriteText(ps + "1234_d.bIn", "d");
    const Gameinfo game = Game(ps, "1234", "119");
    EXPECT_FALSE(GameFileSearch::FindGameFile(game));
    EXPECT_EQ(GameFileSearch::FindDiscs(game),
              (std::vector<std::string>{ps + "1234_a.BIN", ps + "1234_b.bin", ps + "1234_C.Bin",
                                        ps + "1234_d.bIn"}));

    // An arcade set named in capitals; a link to nothing is no game file in any case.
    const std::string arcade = temp / "ARCADE/9/";
    std::filesystem::create_directories(arcade);
    WriteText(arcade + "SF2.ZIP", "z");
    EXPECT_EQ(GameFileSearch::FindGameFile(Game(arcade, "9", "126", "sf2.zip")), arcade + "SF2.ZIP");
    std::filesystem::create_symlink(arcade + "missing.zip", arcade + "KOF.ZIP");
    EXPECT_FALSE(GameFileSearch::FindGameFile(Game(arcade, "9", "126", "kof.zip")));
    // Non-ASCII bytes are never folded: only ASCII letters compare without case.
    WriteText(arcade + "\xC3\x89t\xC3\xA9.zip", "e"); // "Été.zip"
    EXPECT_FALSE(GameFileSearch::FindGameFile(Game(arcade, "9", "126", "\xC3\xA9t\xC3\xA9.zip")));
    EXPECT_EQ(GameFileSearch::FindGameFile(Game(arcade, "9", "126", "\xC3\x89T\xC3\xA9.ZIP")),
              arcade + "\xC3\x89t\xC3\xA9.zip");
}
