#include "server/CatalogueStore.h"

#include "server/SystemTable.h"

#include <sstream>

namespace ravelo::server {

namespace {

GameRecord ReadGame(const SqliteStatement& row)
{
    GameRecord game;
    game.id = row.Int(0);
    game.name = row.Text(1);
    game.orgName = row.Text(2);
    game.icon = row.Text(3);
    game.system = row.Int(4);
    game.systemCode = row.Text(5);
    game.category = row.Int(6);
    game.categoryName = row.Text(7);
    game.language = row.Int(8);
    game.languageName = row.Text(9);
    game.version = row.Text(10);
    game.updatedTime = row.Text(11);
    game.downloads = row.Int64(12);
    game.good = row.Int64(13);
    game.bad = row.Int64(14);
    game.rating = row.Text(15);
    game.minPlayers = row.Int(16);
    game.maxPlayers = row.Int(17);
    game.archiveSize = row.Int64(18);
    game.needSize = row.Int64(19);
    return game;
}

std::vector<GroupCount> ReadGroups(SqliteDatabase& db, const BoundSql& query)
{
    auto& statement = db.Query(query.sql);
    query.BindTo(statement);
    std::vector<GroupCount> groups;
    while (statement.Step())
        groups.push_back({statement.Int(0), statement.Text(1), statement.Int64(2)});
    return groups;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

} // namespace

GamePage CatalogueStore::FindGames(const GameFilter& filter, bool withGroups)
{
    auto db = m_pool.Acquire();
    const GameListQuery query(filter);
    GamePage page;

    const BoundSql count = query.Count();
    auto& counter = db->Query(count.sql);
    count.BindTo(counter);
    if (counter.Step())
        page.total = counter.Int64(0);

    const BoundSql select = query.Page();
    auto& rows = db->Query(select.sql);
    select.BindTo(rows);
    while (rows.Step())
        page.games.push_back(ReadGame(rows));

    if (withGroups) {
        page.categories = ReadGroups(*db, query.Groups(GameListQuery::Dimension::Category));
        page.systems = ReadGroups(*db, query.Groups(GameListQuery::Dimension::System));
        page.languages = ReadGroups(*db, query.Groups(GameListQuery::Dimension::Language));
    }
    return page;
}

std::optional<GameDetail> CatalogueStore::FindGameDetail(int gameId)
{
    auto db = m_pool.Acquire();
    auto& row = db->Query(std::string("SELECT ") + GameListQuery::GameColumns +
                          ", g.description FROM games g JOIN systems s ON s.number = g.system"
                          " JOIN categories c ON c.id = g.categoryid JOIN languages l ON l.id = g.language"
                          " WHERE g.gameid = ?");
    row.Bind(1, std::int64_t{gameId});
    if (!row.Step())
        return std::nullopt;
    GameDetail detail;
    detail.game = ReadGame(row);
    detail.description = row.Text(20);

    auto& screens = db->Query("SELECT path FROM game_screens WHERE gameid = ? ORDER BY seq");
    screens.Bind(1, std::int64_t{gameId});
    while (screens.Step())
        detail.screens.push_back(screens.Text(0));
    return detail;
}

std::optional<DownloadRecord> CatalogueStore::FindDownload(int gameId)
{
    auto db = m_pool.Acquire();
    auto& row =
        db->Query("SELECT archive, archive_size, archive_md5, filename, needsize, unpacked, cloud_links"
                  " FROM games WHERE gameid = ?");
    row.Bind(1, std::int64_t{gameId});
    if (!row.Step())
        return std::nullopt;
    DownloadRecord record;
    record.gameId = gameId;
    record.archive = row.Text(0);
    record.archiveSize = row.Int64(1);
    record.archiveMd5 = row.Text(2);
    record.fileName = row.Text(3);
    record.needSize = row.Int64(4);
    record.unpacked = row.Text(5);
    record.cloudLinks = SplitLines(row.Text(6));

    auto& files = db->Query("SELECT path, size, md5 FROM game_files WHERE gameid = ? ORDER BY seq");
    files.Bind(1, std::int64_t{gameId});
    while (files.Step())
        record.files.push_back({files.Text(0), files.Int64(1), files.Text(2)});

    auto& volumes = db->Query("SELECT number, path, size FROM game_volumes WHERE gameid = ? ORDER BY number");
    volumes.Bind(1, std::int64_t{gameId});
    while (volumes.Step())
        record.volumes.push_back({volumes.Int(0), volumes.Text(1), volumes.Int64(2)});
    return record;
}

std::vector<TopicRecord> CatalogueStore::Topics()
{
    auto db = m_pool.Acquire();
    auto& rows = db->Query("SELECT id, name, description, icon, banner,"
                           " (SELECT COUNT(*) FROM topic_games tg WHERE tg.topic = topics.id)"
                           " FROM topics ORDER BY seq, id");
    std::vector<TopicRecord> topics;
    while (rows.Step())
        topics.push_back(
            {rows.Int(0), rows.Text(1), rows.Text(2), rows.Text(3), rows.Text(4), rows.Int64(5)});
    return topics;
}

std::optional<TopicRecord> CatalogueStore::FindTopic(int id)
{
    auto db = m_pool.Acquire();
    auto& row = db->Query("SELECT id, name, description, icon, banner,"
                          " (SELECT COUNT(*) FROM topic_games tg WHERE tg.topic = topics.id)"
                          " FROM topics WHERE id = ?");
    row.Bind(1, std::int64_t{id});
    if (!row.Step())
        return std::nullopt;
    return TopicRecord{row.Int(0), row.Text(1), row.Text(2), row.Text(3), row.Text(4), row.Int64(5)};
}

std::vector<AdRecord> CatalogueStore::Ads(const std::string& slot)
{
    auto db = m_pool.Acquire();
    auto& rows = db->Query("SELECT id, title, target, action, icon, description, seq FROM ads WHERE slot = ?"
                           " ORDER BY seq, id");
    rows.Bind(1, slot);
    std::vector<AdRecord> ads;
    while (rows.Step())
        ads.push_back(
            {rows.Int(0), rows.Text(1), rows.Text(2), rows.Text(3), rows.Text(4), rows.Text(5), rows.Int(6)});
    return ads;
}

std::vector<EmulatorRecord> CatalogueStore::Emulators()
{
    auto db = m_pool.Acquire();
    auto& rows =
        db->Query("SELECT emulatorid, system, name, version, package, updatedate, description, execute,"
                  " executeparam, configtype, keyconfig, setconfig FROM emulators ORDER BY emulatorid");
    std::vector<EmulatorRecord> emulators;
    while (rows.Step()) {
        EmulatorRecord emulator;
        emulator.emulatorId = rows.Text(0);
        emulator.system = rows.Int(1);
        if (const SystemInfo* system = FindSystem(emulator.system)) {
            emulator.systemKey = system->key;
            emulator.systemCode = system->code;
        }
        emulator.name = rows.Text(2);
        emulator.version = rows.Text(3);
        emulator.package = rows.Text(4);
        emulator.updateDate = rows.Text(5);
        emulator.description = rows.Text(6);
        emulator.executeJson = rows.Text(7);
        emulator.executeParam = rows.Text(8);
        emulator.configType = rows.Text(9);
        emulator.keyConfigJson = rows.Text(10);
        emulator.setConfigJson = rows.Text(11);
        emulators.push_back(std::move(emulator));
    }
    return emulators;
}

std::string CatalogueStore::Setting(const std::string& key, const std::string& fallback)
{
    auto db = m_pool.Acquire();
    auto& row = db->Query("SELECT value FROM settings WHERE key = ?");
    row.Bind(1, key);
    return row.Step() ? row.Text(0) : fallback;
}

} // namespace ravelo::server
