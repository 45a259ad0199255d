#include "server/CatalogueSchema.h"

#include "server/SqliteDatabase.h"

namespace ravelo::server {

void CreateCatalogueSchema(SqliteDatabase& db)
{
    db.Execute(R"sql(
CREATE TABLE settings (
    key TEXT PRIMARY KEY,
    value TEXT NOT NULL
);
-- filter_index is the position of the system in the client's system grid (1 PC, 2 FC, ...).
CREATE TABLE systems (
    number INTEGER PRIMARY KEY,
    code TEXT NOT NULL,
    json_key TEXT NOT NULL,
    filter_index INTEGER UNIQUE
);
CREATE TABLE categories (
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL
);
CREATE TABLE languages (
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL
);
CREATE TABLE games (
    gameid INTEGER PRIMARY KEY,
    gamename TEXT NOT NULL,
    orgname TEXT NOT NULL,
    icon TEXT NOT NULL,
    system INTEGER NOT NULL REFERENCES systems(number),
    categoryid INTEGER NOT NULL REFERENCES categories(id),
    language INTEGER NOT NULL REFERENCES languages(id),
    version TEXT NOT NULL,
    updatedtime TEXT NOT NULL,
    downloads INTEGER NOT NULL DEFAULT 0,
    week_downloads INTEGER NOT NULL DEFAULT 0,
    recommend INTEGER NOT NULL DEFAULT 0,
    good INTEGER NOT NULL DEFAULT 0,
    bad INTEGER NOT NULL DEFAULT 0,
    rating TEXT NOT NULL DEFAULT '',
    min_players INTEGER NOT NULL DEFAULT 1,
    max_players INTEGER NOT NULL DEFAULT 1,
    description TEXT NOT NULL DEFAULT '',
    archive TEXT NOT NULL,
    archive_size INTEGER NOT NULL,
    archive_md5 TEXT NOT NULL,
    filename TEXT NOT NULL,
    needsize INTEGER NOT NULL,
    unpacked TEXT NOT NULL DEFAULT '',
    cloud_links TEXT NOT NULL DEFAULT ''
);
CREATE INDEX games_by_system ON games(system);
CREATE INDEX games_by_category ON games(categoryid);
CREATE INDEX games_by_recommend ON games(recommend, gameid);
CREATE TABLE game_screens (
    gameid INTEGER NOT NULL REFERENCES games(gameid),
    seq INTEGER NOT NULL,
    path TEXT NOT NULL,
    PRIMARY KEY (gameid, seq)
);
CREATE TABLE game_files (
    gameid INTEGER NOT NULL REFERENCES games(gameid),
    seq INTEGER NOT NULL,
    path TEXT NOT NULL,
    size INTEGER NOT NULL,
    md5 TEXT NOT NULL,
    PRIMARY KEY (gameid, seq)
);
CREATE TABLE game_volumes (
    gameid INTEGER NOT NULL REFERENCES games(gameid),
    number INTEGER NOT NULL,
    path TEXT NOT NULL,
    size INTEGER NOT NULL,
    PRIMARY KEY (gameid, number)
);
CREATE TABLE topics (
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL,
    description TEXT NOT NULL,
    icon TEXT NOT NULL,
    banner TEXT NOT NULL,
    seq INTEGER NOT NULL
);
CREATE TABLE topic_games (
    topic INTEGER NOT NULL REFERENCES topics(id),
    gameid INTEGER NOT NULL REFERENCES games(gameid),
    seq INTEGER NOT NULL,
    PRIMARY KEY (topic, gameid)
);
-- slot is the home-page list the advertisement belongs to: ads_index_left or ads_index_gamedetail.
CREATE TABLE ads (
    id INTEGER PRIMARY KEY,
    slot TEXT NOT NULL,
    seq INTEGER NOT NULL,
    title TEXT NOT NULL,
    target TEXT NOT NULL,
    action TEXT NOT NULL,
    icon TEXT NOT NULL,
    description TEXT NOT NULL
);
CREATE TABLE emulators (
    emulatorid TEXT PRIMARY KEY,
    system INTEGER NOT NULL REFERENCES systems(number),
    name TEXT NOT NULL,
    version TEXT NOT NULL,
    package TEXT NOT NULL,
    updatedate TEXT NOT NULL,
    description TEXT NOT NULL,
    execute TEXT NOT NULL,
    executeparam TEXT NOT NULL,
    configtype TEXT NOT NULL,
    keyconfig TEXT NOT NULL,
    setconfig TEXT NOT NULL
);
CREATE TABLE users (
    uid INTEGER PRIMARY KEY,
    ticket TEXT NOT NULL,
    created TEXT NOT NULL
);
CREATE TABLE page_views (
    id INTEGER PRIMARY KEY,
    time TEXT NOT NULL,
    siteid TEXT NOT NULL,
    referer TEXT NOT NULL,
    user_agent TEXT NOT NULL,
    r TEXT NOT NULL,
    rnd TEXT NOT NULL,
    remote_addr TEXT NOT NULL
);
)sql");
    CreateSuggestionTable(db);
}

void CreateSuggestionTable(SqliteDatabase& db)
{
    // Catalogues made before suggestions existed get the table when the server opens them.
    db.Execute(R"sql(
CREATE TABLE IF NOT EXISTS suggestions (
    id INTEGER PRIMARY KEY,
    time TEXT NOT NULL,
    uid TEXT NOT NULL,
    content TEXT NOT NULL,
    contact TEXT NOT NULL,
    remote_addr TEXT NOT NULL
);
)sql");
}

} // namespace ravelo::server
