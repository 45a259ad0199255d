#include "store/LibrarySchema.h"

#include "store/LibraryRows.h"

#include <string>

namespace ravelo {
namespace {

int Count(CppSQLite3DB& db, const char* sql, const char* name, const char* pattern = nullptr)
{
    CppSQLite3Statement statement = db.compileStatement(sql);
    statement.bind(1, name);
    if (pattern)
        statement.bind(2, pattern);
    CppSQLite3Query query = statement.execQuery();
    return query.eof() ? 0 : query.fieldInt(0);
}

} // namespace

void LibrarySchema::CreateOrMigrate(CppSQLite3DB& db)
{
    for (const LibraryRows::Table* table : LibraryRows::AllTables()) {
        if (Count(db, "SELECT COUNT(1) FROM sqlite_master WHERE type='table' AND name=?1", table->Name) < 1)
            db.execDML(LibraryRows::CreateStatement(*table));
        if (Count(db, "SELECT COUNT(1) FROM sqlite_master WHERE type='table' AND name=?1 AND sql like ?2",
                  table->Name, "%DbVer%") < 1)
            db.execDML(std::string("ALTER TABLE `") + table->Name + "` ADD COLUMN DbVer TEXT DEFAULT '0';");
    }
}

} // namespace ravelo
