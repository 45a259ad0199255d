// Arcade sets: display names from the shipped list, icons from the image folders or the archive.
#include "library/ArcadeResources.h"
#include "library/CMyGameStore.h"
#include "library/LibraryFixture.h"
#include "library/LocalGameImporter.h"
#include "support/ZipBuilder.h"

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;

class ArcadeResources : public LibraryFixture
{
protected:
    void ShipResources()
    {
        fs::create_directories(InstanceFolder + "LocalGameRes/gamelist");
        fs::create_directories(InstanceFolder + "LocalGameRes/icon");
        WriteText(InstanceFolder + ArcadeNameListPath,
                  "; arcade names\n[games]\nsf2=街头霸王II\nkof97 = 拳皇97\nblank=\n");
        ZipBuilder zip(InstanceFolder + ArcadeIconArchivePath);
        ASSERT_TRUE(zip.Add("sf2.png", "sf2 png"));
        ASSERT_TRUE(zip.Add("kof97.jpg", "kof97 jpg"));
        ASSERT_TRUE(zip.Add("../escape.png", "outside"));
    }
};

TEST_F(ArcadeResources, ArcadeSetIsNamedFromTheListWithItsIconFromTheArchive)
{
    ShipResources();
    CMyGameStore store(*m_database);
    LocalGameImporter importer(store, 0);
    const std::string sf2 = MakeFile(LocalGameFolder() + "MAME/sf2.zip");

    const std::optional<LocalGame> game = importer.ImportFoundFile(sf2, "MAME");
    ASSERT_TRUE(game);
    EXPECT_EQ(game->GameName, u"街头霸王II");
    EXPECT_EQ(game->EmulatorId, "123");
    EXPECT_EQ(game->Icon, MameImageFolder + "sf2.png");
    EXPECT_EQ(ReadText(game->Icon), "sf2 png");
    // The hostile entry never left the image folder.
    EXPECT_FALSE(fs::exists(m_root / "cache/escape.png"));

    // The ARCADE system has its own folder; the archive fills it too.
    EXPECT_EQ(FindGameIcon(126, "kof97"), ArcadeImageFolder + "kof97.jpg");
    EXPECT_EQ(FindGameName(126, "kof97"), "拳皇97");
    EXPECT_EQ(FindGameName(146, "sf2"), "街头霸王II");

    // Found in the cache later, without the archive.
    fs::remove(InstanceFolder + ArcadeIconArchivePath);
    EXPECT_EQ(FindGameIcon(146, "sf2"), MameImageFolder + "sf2.png");
    EXPECT_EQ(FindGameIcon(123, "dino"), "");
}

TEST_F(ArcadeResources, OtherSystemsAndUnlistedSetsKeepTheirBaseName)
{
    ShipResources();
    EXPECT_EQ(FindGameName(125, "sf2"), "sf2");
    EXPECT_EQ(FindGameIcon(125, "sf2"), "");
    EXPECT_EQ(FindGameName(123, "blank"), "blank");
    EXPECT_EQ(FindGameName(123, "mslug"), "mslug");
    EXPECT_EQ(FindGameIcon(123, "mslug"), "");
    EXPECT_EQ(FindGameIcon(123, ".."), "");
    EXPECT_EQ(FindGameIcon(123, ""), "");
    // An icon already in the folder wins over the archive, in extension order.
    WriteText(MameImageFolder + "sf2.ico", "ico");
    EXPECT_EQ(FindGameIcon(123, "sf2"), MameImageFolder + "sf2.ico");
}

TEST_F(ArcadeResources, MissingResourcesLeaveTheBaseNameAndNoIcon)
{
    CMyGameStore store(*m_database);
    LocalGameImporter importer(store, 0);
    const std::optional<LocalGame> game =
        importer.ImportFoundFile(MakeFile(LocalGameFolder() + "ARCADE/sf2.zip"), "ARCADE");
    ASSERT_TRUE(game);
    EXPECT_EQ(game->GameName, u"sf2");
    EXPECT_EQ(game->Icon, "");
    EXPECT_EQ(game->EmulatorId, "126");
}

TEST_F(ArcadeResources, ShippedListAndArchiveNameAndDrawEveryListedSet)
{
    InstanceFolder = RAVELO_PROGRAM_FOLDER;
    EXPECT_EQ(FindGameName(123, "sf2"), "街头霸王II");
    EXPECT_EQ(FindGameName(126, "mslug"), "合金弹头");
    for (const char* set : {"sf2", "kof97", "mslug", "dino", "pacman"}) {
        const std::string icon = FindGameIcon(123, set);
        EXPECT_EQ(icon, MameImageFolder + set + ".png");
        EXPECT_EQ(ReadText(icon).substr(0, 8), "\x89PNG\r\n\x1a\n") << set;
    }
}

} // namespace
} // namespace ravelo::test
