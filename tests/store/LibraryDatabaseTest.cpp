#include "store/LibraryDatabase.h"
#include "StoreSamples.h"
#include "settings/AppPaths.h"
#include "store/CppSQLite3DB.h"
#include "store/LibraryRows.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <set>
#include <thread>
#include <vector>

using namespace ravelo;
using test::SampleDownload;
using test::SampleEmulator;
using test::SampleGame;
using test::SampleLocal;

namespace {

struct ColumnInfo
{
    std::string Name;
    std::string Type;
    std::string Default;
};

std::vector<ColumnInfo> Columns(CppSQLite3DB& db, const std::string& table)
{
    std::vector<ColumnInfo> columns;
    for (auto q = db.execQuery("pragma table_info(" + table + ");"); !q.eof(); q.nextRow())
        columns.push_back({q.fieldString(1), q.fieldString(2), q.fieldString(4)});
    return columns;
}

std::string Schema(CppSQLite3DB& db)
{
    std::string text;
    for (auto q = db.execQuery("select type, name, sql from sqlite_master order by rowid;"); !q.eof();
         q.nextRow())
        text += q.fieldString(0) + " " + q.fieldString(1) + ": " + q.fieldString(2) + "\n";
    return text;
}

std::string Text(CppSQLite3DB& db, const std::string& sql)
{
    auto q = db.execQuery(sql);
    return q.eof() ? std::string("<no row>") : q.fieldString(0);
}

} // namespace

TEST(LibraryDatabase, NewFileGetsFourTablesEachEndingInDbVerAndASecondStartChangesNothing)
{
    test::TempFolder folder;
    const std::string path = folder / "deep/er/ravelo.db"; // missing folders are made
    {
        LibraryDatabase db(path);
        ASSERT_TRUE(db.IsReady()) << db.OpenError();
    }

    CppSQLite3DB raw;
    raw.open(path);
    std::vector<std::string> tables;
    for (auto q =
             raw.execQuery("select name from sqlite_master where type='table' and name <> 'sqlite_sequence' "
                           "order by rowid;");
         !q.eof(); q.nextRow())
        tables.push_back(q.fieldString(0));
    EXPECT_EQ(tables, (std::vector<std::string>{"Gameinfo", "DownloadInfo", "LocalGame", "EmulatorInfo"}));

    for (const LibraryRows::Table* table : LibraryRows::AllTables()) {
        const auto columns = Columns(raw, table->Name);
        ASSERT_EQ(columns.size(), table->Columns.size() + 2) << table->Name;
        EXPECT_EQ(columns.front().Name, "Id");
        for (std::size_t i = 0; i < table->Columns.size(); ++i) {
            EXPECT_EQ(columns[i + 1].Name, table->Columns[i]);
            EXPECT_EQ(columns[i + 1].Type, "TEXT");
        }
        EXPECT_EQ(columns.back().Name, "DbVer");
        EXPECT_EQ(columns.back().Default, "'0'");
    }
    EXPECT_EQ(Columns(raw, "Gameinfo").size(), 15u);
    EXPECT_EQ(Columns(raw, "LocalGame").size(), 11u);
    EXPECT_EQ(Columns(raw, "DownloadInfo").size(), 29u);
    EXPECT_EQ(Columns(raw, "EmulatorInfo").size(), 24u);
    EXPECT_EQ(Text(raw, "pragma journal_mode;"), "wal");

    const std::string before = Schema(raw);
    {
        LibraryDatabase again(path);
        ASSERT_TRUE(again.IsReady());
    }
    EXPECT_EQ(Schema(raw), before);
}

TEST(LibraryDatabase, OldFileGainsDbVerAndItsRowsStillRead)
{
    test::TempFolder folder;
    const std::string path = folder / "old.db";
    {
        // A file of the version before DbVer: same tables, without the column.
        CppSQLite3DB old;
        old.open(path);
        for (const LibraryRows::Table* table : LibraryRows::AllTables())
            old.execDML(LibraryRows::CreateStatement(*table));
        old.execDML(
            "insert into LocalGame values (NULL, '魂斗罗', 'i', '1', 'FC', '0', '/g/contra.nes', "
            "'contra.nes', '125', '');"
            "insert into LocalGame values (NULL, 'bad ' || x'ff' || ' name', '', '', '', '', '/g/bad', "
            "'', '', '');"
            "insert into Gameinfo (GameId, GameName) values ('7', '街头霸王');");
    }
    LibraryDatabase db(path);
    ASSERT_TRUE(db.IsReady()) << db.OpenError();

    std::vector<LocalGame> locals;
    ASSERT_TRUE(db.PostWait(DbOperation::LoadLocalGames, &locals));
    ASSERT_EQ(locals.size(), 2u);
    EXPECT_EQ(locals[0].GameName, u"魂斗罗");
    EXPECT_EQ(locals[0].FilePath, "/g/contra.nes");
    EXPECT_EQ(locals[0].EmulatorId, "125");
    EXPECT_EQ(locals[1].GameName, u"bad \uFFFD name"); // a broken name costs a character, not the row
    std::vector<Gameinfo> games;
    ASSERT_TRUE(db.PostWait(DbOperation::LoadGames, &games));
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].GameName, u"街头霸王");

    // Rewriting a row moves it to the current text version.
    LocalGame renamed = locals[0];
    renamed.GameName = u"魂斗罗 2";
    ASSERT_TRUE(db.PostWait(DbOperation::RenameLocalGame, renamed));
    CppSQLite3DB raw;
    raw.open(path);
    EXPECT_EQ(Text(raw, "select DbVer from LocalGame where FilePath = '/g/contra.nes';"), "1");
    EXPECT_EQ(Text(raw, "select DbVer from LocalGame where FilePath = '/g/bad';"), "0");
    EXPECT_EQ(Text(raw, "select GameName from LocalGame where FilePath = '/g/contra.nes';"), "魂斗罗 2");
}

TEST(LibraryDatabase, EveryRecordRoundTripsThroughAddUpdateLoadAndRemove)
{
    test::TempFolder folder;
    LibraryDatabase db(folder / "ravelo.db");

    const Gameinfo game = SampleGame("1001");
    const LocalGame local = SampleLocal("/roms/FC/mario.nes");
    DownloadInfo download = SampleDownload("2002");
    EmulatorInfo emulator = SampleEmulator("1250001");
    db.Post(DbOperation::AddGame, game);
    db.Post(DbOperation::AddLocalGame, local);
    ASSERT_TRUE(db.PostWait(DbOperation::AddDownload, download));
    ASSERT_TRUE(db.PostWait(DbOperation::AddEmulator, emulator));

    std::vector<Gameinfo> games;
    std::vector<LocalGame> locals;
    DownloadMap downloads;
    std::vector<EmulatorInfo> emulators;
    ASSERT_TRUE(db.PostWait(DbOperation::LoadGames, &games));
    ASSERT_TRUE(db.PostWait(DbOperation::LoadLocalGames, &locals));
    ASSERT_TRUE(db.PostWait(DbOperation::LoadDownloads, &downloads));
    ASSERT_TRUE(db.PostWait(DbOperation::LoadEmulators, &emulators));
    EXPECT_EQ(games, std::vector<Gameinfo>{game});
    EXPECT_EQ(locals, std::vector<LocalGame>{local});
    DownloadInfo expected = download;
    expected.Reserved4.clear(); // written, never read back
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(downloads.at("2002"), expected);
    EXPECT_EQ(emulators, std::vector<EmulatorInfo>{emulator});

    // The stored texts are the documented encodings.
    CppSQLite3DB raw;
    raw.open(folder / "ravelo.db");
    EXPECT_EQ(Text(raw, "select VolumePanUrlList from DownloadInfo;"),
              "0@http://pan/s/v1|1\\;1@http://pan/s/w1|1\\http://pan/s/w2|2\\;");
    EXPECT_EQ(Text(raw, "select Reserved2 || Reserved3 || Reserved4 || DbVer from DownloadInfo;"), "1r3r41");
    EXPECT_EQ(Text(raw, "select Emulatortype || '/' || Executet || '/' || SetConfig from EmulatorInfo;"),
              "125/fceux;fceux-sdl;/set.ini,fceux.ini;");
    EXPECT_EQ(Text(raw,
                   "select Reserved1 || Reserved2 || Reserved3 || Reserved4 || Reserved5 || Reserved6 || "
                   "Reserved7 || Reserved8 || DbVer from EmulatorInfo;"),
              "1");
    EXPECT_EQ(Text(raw, "select GameName from Gameinfo;"), "魂斗罗 1001");

    // Updates rewrite every column but the key.
    download.CurrentSize = "350.25";
    download.PanRealUrlList = {"http://pan/real/1"};
    download.VolumeFileLenth[3] = "1";
    download.FileList.erase("game.cue");
    download.Reserved2 = 8;
    download.GameName = u"三国志 改";
    emulator.Version = "2.7.0";
    emulator.KeyConfig.pop_back();
    emulator.Executet = {};
    emulator.Name = u"FCEUX 新";
    db.Post(DbOperation::UpdateDownload, download);
    db.Post(DbOperation::UpdateEmulator, emulator);
    downloads.clear();
    emulators.clear();
    ASSERT_TRUE(db.PostWait(DbOperation::LoadDownloads, &downloads));
    ASSERT_TRUE(db.PostWait(DbOperation::LoadEmulators, &emulators));
    expected = download;
    expected.Reserved4.clear();
    EXPECT_EQ(downloads.at("2002"), expected);
    EXPECT_EQ(emulators, std::vector<EmulatorInfo>{emulator});

    db.Post(DbOperation::RemoveGame, std::string("1001"));
    db.Post(DbOperation::RemoveLocalGame, std::string("/roms/FC/mario.nes"));
    db.Post(DbOperation::RemoveDownload, std::string("2002"));
    ASSERT_TRUE(db.PostWait(DbOperation::RemoveEmulator, std::string("1250001")));
    EXPECT_EQ(raw.execScalar("select (select count(1) from Gameinfo) + (select count(1) from LocalGame) + "
                             "(select count(1) from DownloadInfo) + (select count(1) from EmulatorInfo);"),
              0);
}

TEST(LibraryDatabase, AwkwardTextRoundTripsAndHostileKeysDeleteNothingElse)
{
    test::TempFolder folder;
    LibraryDatabase db(folder / "ravelo.db");

    const std::string big(50 * 1024, 'x');
    const std::vector<std::string> paths{"/roms/it's.nes", "/roms/back\\slash.nes", "/roms/%s%d%n.nes",
                                         "/roms/" + big, "/roms/中文/游戏.nes"};
    for (const auto& path : paths) {
        LocalGame game = SampleLocal(path);
        game.GameName = u"It's \"%s\" \\ 游戏 " + std::u16string(big.begin(), big.end());
        db.Post(DbOperation::AddLocalGame, game);
    }
    DownloadInfo download = SampleDownload("it's");
    download.UrlList.assign(500, "http://h/" + std::string(100, 'u') + "?q='1'");
    ASSERT_TRUE(db.PostWait(DbOperation::AddDownload, download));
    db.Post(DbOperation::AddGame, SampleGame("1"));
    db.Post(DbOperation::AddGame, SampleGame("2"));
    db.Post(DbOperation::AddEmulator, SampleEmulator("e1"));

    std::vector<LocalGame> locals;
    ASSERT_TRUE(db.PostWait(DbOperation::LoadLocalGames, &locals));
    ASSERT_EQ(locals.size(), paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(locals[i].FilePath, paths[i]);
        EXPECT_EQ(locals[i].GameName.substr(0, 16), u"It's \"%s\" \\ 游戏 x");
        EXPECT_EQ(locals[i].GameName.size(), 15 + big.size());
    }
    DownloadMap downloads;
    ASSERT_TRUE(db.PostWait(DbOperation::LoadDownloads, &downloads));
    EXPECT_EQ(downloads.at("it's").UrlList, download.UrlList);

    // Keys are values, never SQL: each of these matches no row.
    const std::string hostile = "x' OR '1'='1";
    db.Post(DbOperation::RemoveGame, hostile);
    db.Post(DbOperation::RemoveLocalGame, hostile);
    db.Post(DbOperation::RemoveDownload, hostile);
    db.Post(DbOperation::RemoveEmulator, hostile);
    LocalGame rename = SampleLocal(hostile);
    rename.GameName = u"pwned";
    db.Post(DbOperation::RenameLocalGame, rename);
    ASSERT_TRUE(db.PostWait(DbOperation::RemoveLocalGame, std::string("/roms/it's.nes"))); // the quote itself

    std::vector<Gameinfo> games;
    std::vector<EmulatorInfo> emulators;
    locals.clear();
    downloads.clear();
    ASSERT_TRUE(db.PostWait(DbOperation::LoadGames, &games));
    ASSERT_TRUE(db.PostWait(DbOperation::LoadLocalGames, &locals));
    ASSERT_TRUE(db.PostWait(DbOperation::LoadDownloads, &downloads));
    ASSERT_TRUE(db.PostWait(DbOperation::LoadEmulators, &emulators));
    EXPECT_EQ(games.size(), 2u);
    EXPECT_EQ(emulators.size(), 1u);
    EXPECT_EQ(downloads.size(), 1u);
    ASSERT_EQ(locals.size(), paths.size() - 1);
    for (const auto& game : locals)
        EXPECT_NE(game.GameName, u"pwned");
}

TEST(LibraryDatabase, LoadsAppendToTheCallersContainer)
{
    test::TempFolder folder;
    LibraryDatabase db(folder / "ravelo.db");
    db.Post(DbOperation::AddGame, SampleGame("1"));
    db.Post(DbOperation::AddDownload, SampleDownload("d1"));
    db.Post(DbOperation::AddDownload, SampleDownload("d2"));
    DownloadInfo duplicate = SampleDownload("d1");
    duplicate.TotalSize = "second row";
    db.Post(DbOperation::AddDownload, duplicate);

    std::vector<Gameinfo> games{SampleGame("already there")};
    ASSERT_TRUE(db.PostWait(DbOperation::LoadGames, &games));
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[1].GameId, "1");

    DownloadMap downloads;
    downloads["d2"] = SampleDownload("mine");
    ASSERT_TRUE(db.PostWait(DbOperation::LoadDownloads, &downloads));
    ASSERT_EQ(downloads.size(), 2u);
    EXPECT_EQ(downloads.at("d1").TotalSize, "700.00"); // the first row of a game id wins
    EXPECT_EQ(downloads.at("d2").GameId, "mine");      // an entry already in the map is kept
}

TEST(LibraryDatabase, ShutdownRunsWhatIsQueuedThenRefusesMore)
{
    test::TempFolder folder;
    const std::string file = folder / "database/ravelo.db";
    {
        LibraryDatabase database(file);
        for (int i = 0; i < 50; ++i)
            database.Post(DbOperation::AddGame, SampleGame(std::to_string(i)));
        database.Shutdown();
        EXPECT_FALSE(database.PostWait(DbOperation::AddGame, SampleGame("late")));
        std::vector<Gameinfo> none;
        EXPECT_FALSE(database.PostWait(DbOperation::LoadGames, &none));
        database.Shutdown(); // twice, and once more by the destructor
    }
    LibraryDatabase reopened(file);
    std::vector<Gameinfo> games;
    ASSERT_TRUE(reopened.PostWait(DbOperation::LoadGames, &games));
    EXPECT_EQ(games.size(), 50u);
}
