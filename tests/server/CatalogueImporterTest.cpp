// ravelo-server import: games from a folder of archives and a manifest land in a catalogue with
// their checksums, a running server answers with them, and a bad manifest changes nothing.
#include "server/ServerTestSupport.h"

#include "platform/Md5.h"
#include "server/CatalogueImporter.h"
#include "server/SqliteDatabase.h"
#include "server/SqliteStatement.h"
#include "support/FileText.h"
#include "support/ZipBuilder.h"

#include <filesystem>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;
using server::CatalogueImporter;
using server::ImportResult;
using server::SqliteDatabase;

class CatalogueImporterTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        SqliteDatabase db(Root() + "catalogue.db", SqliteDatabase::Mode::ReadWrite);
        auto& category = db.Query("SELECT name FROM categories ORDER BY id LIMIT 1");
        ASSERT_TRUE(category.Step());
        m_category = category.Text(0);
        WriteText(m_club / "icon.png", "\x89PNG icon");
        WriteText(m_club / "shot.jpg", "jpeg shot");
    }

    void MakeArchive(const std::string& name, const std::vector<std::pair<std::string, std::string>>& files)
    {
        ZipBuilder zip(m_club / name);
        for (const auto& [entry, data] : files)
            ASSERT_TRUE(zip.Add(entry, data));
    }

    ImportResult Import(const std::string& manifest)
    {
        WriteText(m_club / "games.txt", manifest);
        ImportResult result;
        CatalogueImporter(Root()).Import(m_club / "games.txt", result);
        return result;
    }

    std::int64_t Count(const std::string& sql)
    {
        SqliteDatabase db(Root() + "catalogue.db", SqliteDatabase::Mode::ReadWrite);
        auto& query = db.Query(sql);
        return query.Step() ? query.Int64(0) : -1;
    }

    TempFolder m_club;
    std::string m_category;
};

TEST_F(CatalogueImporterTest, AddsThenUpdatesGamesWithTheirChecksumsAndTheServerAnswersWithThem)
{
    MakeArchive("club.zip", {{"club.nes", "NES\x1a club game"}, {"readme.txt", "read me"}});
    const ImportResult added = Import("# the club's games\n"
                                      "5001 | club.zip | 俱乐部游戏 | FC | " +
                                      m_category + " | 1 | icon.png | shot.jpg shot.jpg\n");
    ASSERT_TRUE(added.problems.empty()) << added.problems[0].reason;
    ASSERT_TRUE(added.error.empty()) << added.error;
    EXPECT_EQ(added.added, 1);
    EXPECT_EQ(added.updated, 0);

    // The archive as it is served, and its checksum and entries as the catalogue gives them.
    const std::string archive = ReadText(m_club / "club.zip");
    const Json::Value info = Api(ClientBodies::Detail("5001"))["gameinfo"];
    EXPECT_EQ(info["gamename"].asString(), "俱乐部游戏");
    EXPECT_EQ(info["emulatorshortname"].asString(), "FC");
    EXPECT_EQ(Fetch(Base() + "/download/games/5001/5001.zip"), archive);
    EXPECT_EQ(Fetch(Base() + "/pic/icon/5001.png"), "\x89PNG icon");
    EXPECT_EQ(Count("SELECT count(*) FROM games WHERE gameid = 5001 AND archive_md5 = '" + Md5Hex(archive) +
                    "' AND archive_size = " + std::to_string(archive.size()) +
                    " AND needsize = " + std::to_string(archive.size() + 14 + 7)),
              1);
    EXPECT_EQ(Count("SELECT count(*) FROM game_files WHERE gameid = 5001 AND path = 'club.nes' AND md5 = '" +
                    Md5Hex("NES\x1a club game") + "'"),
              1);
    EXPECT_EQ(Count("SELECT count(*) FROM game_screens WHERE gameid = 5001"), 2);

    // The same id again updates the game (the running server answers with the change), a new one is
    // added beside it, and nothing is left half-written.
    MakeArchive("club2.zip", {{"club2.nes", "second"}});
    const ImportResult again =
        Import("5001 | club2.zip | 俱乐部游戏二 | fc | " + m_category +
               " | 1 | icon.png |\n5002 | club.zip | 另一个 | MD | " + m_category + " | 1 | icon.png |\n");
    ASSERT_TRUE(again.problems.empty()) << again.problems[0].reason;
    EXPECT_EQ(again.added, 1);
    EXPECT_EQ(again.updated, 1);
    EXPECT_EQ(Api(ClientBodies::Detail("5001"))["gameinfo"]["gamename"].asString(), "俱乐部游戏二");
    EXPECT_EQ(Fetch(Base() + "/download/games/5001/5001.zip"), ReadText(m_club / "club2.zip"));
    EXPECT_EQ(Count("SELECT count(*) FROM game_files WHERE gameid = 5001"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM game_screens WHERE gameid = 5001"), 0);
    for (const auto& entry : fs::recursive_directory_iterator(Root()))
        EXPECT_EQ(entry.path().string().find(".import-part"), std::string::npos) << entry.path();
}

TEST_F(CatalogueImporterTest, BadLinesAreRefusedEachWithItsReasonAndNothingChanges)
{
    MakeArchive("good.zip", {{"good.nes", "good"}});
    MakeArchive("evil.zip", {{"../evil.nes", "evil"}});
    WriteText(m_club / "notzip.zip", "this is no zip");
    fs::create_directories(m_club / "inner");
    const std::string c = " | " + m_category + " | 1 | icon.png |";
    const std::set<int> bad = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    const ImportResult result = Import("# header\n"
                                       "6001 | good.zip | 好游戏 | FC" +
                                       c +
                                       "\n"
                                       "6002 | good.zip | 缺字段 | FC\n" // 3: fields
                                       "0 | good.zip | 零 | FC" +
                                       c +
                                       "\n" // 4: id
                                       "6001 | good.zip | 重复 | FC" +
                                       c +
                                       "\n" // 5: duplicate
                                       "6003 | good.zip | 机种 | XBOX" +
                                       c +
                                       "\n" // 6: system
                                       "6004 | missing.zip | 缺包 | FC" +
                                       c +
                                       "\n"
                                       "6005 | ../good.zip | 越界 | FC" +
                                       c +
                                       "\n"
                                       "6006 | notzip.zip | 假包 | FC" +
                                       c +
                                       "\n"
                                       "6007 | evil.zip | 恶意 | FC" +
                                       c +
                                       "\n"
                                       "6008 | good.zip | 缺图 | FC | " +
                                       m_category +
                                       " | 1 | none.png |\n"
                                       "6009 | good.zip | 分类 | FC | 没有的分类 | 1 | icon.png |\n"
                                       "6010 | good.zip |  | FC" +
                                       c + "\n");
    std::set<int> refused;
    for (const auto& problem : result.problems) {
        refused.insert(problem.line);
        EXPECT_FALSE(problem.reason.empty());
    }
    EXPECT_EQ(refused, bad);
    EXPECT_EQ(result.added + result.updated, 0);
    EXPECT_EQ(Count("SELECT count(*) FROM games WHERE gameid >= 6000"), 0);
    EXPECT_FALSE(fs::exists(Root() + "download/games/6001"));
    EXPECT_FALSE(fs::exists(m_club.Path() + "../evil.nes"));

    const ImportResult missing = [] {
        ImportResult none;
        CatalogueImporter("/no/such/catalogue").Import("/no/such/games.txt", none);
        return none;
    }();
    EXPECT_FALSE(missing.error.empty());
}

} // namespace
} // namespace ravelo::test
