// Finding, filling and importing game files, and the my-games store over a real database file.
#include "library/CMyGameStore.h"
#include "library/LibraryFixture.h"
#include "library/LocalGameFiles.h"
#include "library/LocalGameImporter.h"
#include "library/LocalGameMessages.h"
#include "platform/MessageQueue.h"

#include <thread>

namespace ravelo::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(LocalGameFiles, ExtensionsCompareIgnoringCaseFromTheLastDot)
{
    const std::string fc = ExtensionListOf("FC");
    EXPECT_TRUE(ExtensionMatches(fc, "Mario.NES"));
    EXPECT_TRUE(ExtensionMatches(fc, "pack.tar.gz"));
    EXPECT_FALSE(ExtensionMatches(fc, "nes"));
    EXPECT_FALSE(ExtensionMatches(fc, "Mario.nes.txt"));
    EXPECT_FALSE(ExtensionMatches(fc, "Mario.ne"));
    EXPECT_TRUE(ExtensionMatches(ExtensionListOf("PS"), "disc.bin"));
    EXPECT_TRUE(ExtensionMatches(ExtensionListOf("PC"), "game.EXE"));
    EXPECT_EQ(ExtensionListOf("ONS"), "");
    EXPECT_EQ(ExtensionListOf("全部机种"), "");
    EXPECT_FALSE(ExtensionMatches(ExtensionListOf("ONS"), "x.zip"));

    EXPECT_EQ(SizeText(1572864), "1.50");
    EXPECT_EQ(SizeText(0), "0.00");
    EXPECT_EQ(SizeText(1048576ull * 4096), "4096.00");
    EXPECT_EQ(SizeText(5000), "0.00");

    EXPECT_EQ(BaseNameOf("/a/b/Super Mario.v1.nes"), "Super Mario.v1");
    EXPECT_EQ(BaseNameOf("C:\\roms\\sf2.zip"), "sf2");
    EXPECT_EQ(FileNameOf("/a/b/Super Mario.nes"), "Super Mario.nes");
}

TEST(LocalGameFiles, RecordIsFilledFromThePathSizeAndSystem)
{
    const LocalGame game = MakeLocalGame("/g/FC/超级玛丽 1.nes", "超级玛丽 1", "", 1572864, "FC", 125);
    EXPECT_EQ(game.GameName, u"超级玛丽 1");
    EXPECT_EQ(game.Size, "1.50");
    EXPECT_EQ(game.EmulatorShortName, "FC");
    EXPECT_EQ(game.EmulatorId, "125");
    EXPECT_EQ(game.FileName, "超级玛丽 1.nes");
    EXPECT_EQ(game.FilePath, "/g/FC/超级玛丽 1.nes");
    EXPECT_TRUE(game.IsPlay.empty() && game.PlayUrl.empty() && game.Icon.empty());

    // A name that is not valid UTF-8 (a file from another locale) still imports, marked.
    EXPECT_EQ(MakeLocalGame("/g/x.nes",
                            "ab\xff"
                            "c",
                            "", 0, "FC", 125)
                  .GameName,
              u"ab\uFFFDc");
}

class LocalScan : public LibraryFixture
{
};

TEST_F(LocalScan, FindsGameFilesOfEachSystemFolderRecursively)
{
    const std::string mario = MakeFile(LocalGameFolder() + "FC/Mario.NES");
    const std::string deep = MakeFile(LocalGameFolder() + "FC/日本/sub dir/魂斗罗 (J).nes");
    MakeFile(LocalGameFolder() + "FC/readme.txt");
    MakeFile(LocalGameFolder() + "FC/setup.exe");
    const std::string sf2 = MakeFile(LocalGameFolder() + "MAME/sf2.zip");
    MakeFile(LocalGameFolder() + "ONS/story.zip"); // a system that imports nothing
    fs::create_directory_symlink(LocalGameFolder() + "FC", LocalGameFolder() + "FC/loop");

    const FoundGameFiles all = ScanSystemFolders(0);
    const FoundGameFiles expected{{mario, "FC"}, {deep, "FC"}, {sf2, "MAME"}};
    EXPECT_EQ(all, expected);

    const FoundGameFiles fcOnly = ScanSystemFolders(125);
    EXPECT_EQ(fcOnly.size(), 2u);
    EXPECT_TRUE(fcOnly.count(mario));

    // Folders that do not exist give nothing, and so does an unset games folder.
    EXPECT_TRUE(ScanSystemFolders(130).empty());
    fs::remove_all(LocalGameFolder());
    EXPECT_TRUE(ScanSystemFolders(0).empty());
    ApplyGamesFolder("");
    EXPECT_TRUE(ScanSystemFolders(0).empty());
}

TEST_F(LocalScan, ImportsEachFoundFileOnceAndAnnouncesIt)
{
    MessageQueue window;
    CMyGameStore store(*m_database);
    LocalGameImporter importer(store, window.Handle());
    const std::string mario = MakeFile(LocalGameFolder() + "FC/Mario.NES", 1572864);
    const std::string gone = MakeFile(LocalGameFolder() + "FC/Gone.nes");

    const FoundGameFiles found = ScanSystemFolders(0);
    ASSERT_EQ(found.size(), 2u);
    fs::remove(gone); // vanishes between the walk and the import
    for (const auto& [path, code] : found)
        importer.ImportFoundFile(path, code);
    for (const auto& [path, code] : ScanSystemFolders(0)) // the next cycle finds nothing new
        EXPECT_FALSE(importer.ImportFoundFile(path, code));

    std::optional<Message> message = window.WaitFor(UM_LOCAL_GAME_IMPORTED, 5s);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->wParam, 0u);
    const std::unique_ptr<LocalGame> announced = message->TakePayload<LocalGame>();
    ASSERT_TRUE(announced);
    EXPECT_EQ(announced->GameName, u"Mario");
    EXPECT_EQ(announced->EmulatorId, "125");
    EXPECT_EQ(announced->Size, "1.50");
    EXPECT_EQ(window.Pending(), 0u);

    EXPECT_TRUE(store.HasLocalGame(mario));
    EXPECT_FALSE(store.HasLocalGame(gone));
    const std::vector<LocalGame> rows = DatabaseRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], *announced);

    // A new store over the same file starts with what was imported.
    CMyGameStore reloaded(*m_database);
    ASSERT_EQ(reloaded.LocalGames().size(), 1u);
    EXPECT_EQ(reloaded.LocalGames()[0], *announced);
}

TEST_F(LocalScan, DropImportsMatchingFilesInPlaceForThePageSystem)
{
    MessageQueue window;
    CMyGameStore store(*m_database);
    LocalGameImporter importer(store, window.Handle());
    TempFolder elsewhere;
    const std::string zip = MakeFile(elsewhere / "Contra.zip", 2048);
    const std::string chinese = MakeFile(elsewhere / "合集/第 2 辑/双截龙 II.nes");
    MakeFile(elsewhere / "合集/notes.txt");
    const std::atomic<bool> stop{false};

    // All systems: nothing is imported.
    EXPECT_TRUE(importer.ImportPaths({zip, elsewhere / "合集"}, 0, stop).empty());
    EXPECT_EQ(window.Pending(), 0u);

    const std::vector<LocalGame> imported =
        importer.ImportPaths({zip, elsewhere / "missing.nes", elsewhere / "合集", zip}, 125, stop);
    ASSERT_EQ(imported.size(), 2u);
    EXPECT_EQ(imported[0].FilePath, zip); // imported where it is, nothing copied
    EXPECT_EQ(imported[0].EmulatorShortName, "FC");
    EXPECT_EQ(imported[0].EmulatorId, "125");
    EXPECT_EQ(imported[1].GameName, u"双截龙 II");
    EXPECT_EQ(imported[1].FilePath, chinese);
    EXPECT_TRUE(fs::is_empty(LocalGameFolder() + "FC"));

    // A .gba dropped on the FC page does not match FC's list.
    EXPECT_TRUE(importer.ImportPaths({MakeFile(elsewhere / "x.gba")}, 125, stop).empty());
    // A stop before the first path imports nothing more.
    const std::atomic<bool> stopped{true};
    EXPECT_TRUE(importer.ImportPaths({MakeFile(elsewhere / "y.nes")}, 125, stopped).empty());

    EXPECT_EQ(DatabaseRows().size(), 2u);
    int announced = 0;
    while (window.WaitFor(UM_LOCAL_GAME_IMPORTED, 100ms))
        ++announced;
    EXPECT_EQ(announced, 2);
}

TEST_F(LocalScan, ConcurrentImportersInsertEachFileOnce)
{
    CMyGameStore store(*m_database);
    for (int i = 0; i < 50; ++i)
        MakeFile(LocalGameFolder() + "FC/game " + std::to_string(i) + ".nes");
    const FoundGameFiles found = ScanSystemFolders(125);
    std::atomic<int> imported{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            LocalGameImporter importer(store, 0);
            for (const auto& [path, code] : found)
                if (importer.ImportFoundFile(path, code))
                    ++imported;
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(imported.load(), 50);
    EXPECT_EQ(store.LocalGames().size(), 50u);
    EXPECT_EQ(DatabaseRows().size(), 50u);
}

} // namespace
} // namespace ravelo::test
