#include "server/CatalogueRevision.h"

#include "server/SqliteStatement.h"

#include <string>

namespace ravelo::server {

namespace {

// What the catalogue answers are made of. Accounts and page views change all the time and never
// show in an answer, so they do not count.
const char* const CatalogueTables[] = {"settings", "systems",      "categories", "languages",
                                       "games",    "game_screens", "game_files", "game_volumes",
                                       "topics",   "topic_games",  "ads",        "emulators"};

} // namespace

void CatalogueRevision::Install(SqliteDatabase& db)
{
    db.Execute("CREATE TABLE IF NOT EXISTS catalogue_revision (revision INTEGER NOT NULL)");
    db.Execute("INSERT INTO catalogue_revision (revision) SELECT 0 WHERE NOT EXISTS "
               "(SELECT 1 FROM catalogue_revision)");
    for (const char* table : CatalogueTables) {
        for (const char* event : {"INSERT", "UPDATE", "DELETE"}) {
            // Table and event names are this file's constants, never outside text.
            const std::string sql = std::string("CREATE TRIGGER IF NOT EXISTS catalogue_revision_") + table +
                                    "_" + event + " AFTER " + event + " ON " + table +
                                    " BEGIN UPDATE catalogue_revision SET revision = revision + 1; END";
            db.Execute(sql.c_str());
        }
    }
}

std::int64_t CatalogueRevision::Read(SqliteDatabase& db)
{
    auto& query = db.Query("SELECT revision FROM catalogue_revision");
    return query.Step() ? query.Int64(0) : 0;
}

} // namespace ravelo::server
