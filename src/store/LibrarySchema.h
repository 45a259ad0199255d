#pragma once

#include "store/CppSQLite3DB.h"

namespace ravelo {

/// The start-up check of the library file: creates missing tables and gives tables of older
/// files their DbVer column. Runs on the thread that holds the connection.
class LibrarySchema
{
public:
    /// Walks Gameinfo, DownloadInfo, LocalGame, EmulatorInfo; creates a missing table, then adds
    /// "DbVer TEXT DEFAULT '0'" where the table's definition lacks it. Running it again changes
    /// nothing. Throws CppSQLite3Exception (a table may then already be done).
    static void CreateOrMigrate(CppSQLite3DB& db);
};

} // namespace ravelo
