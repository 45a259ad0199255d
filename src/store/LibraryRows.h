#pragma once

#include "store/CppSQLite3Query.h"
#include "store/DownloadInfo.h"
#include "store/EmulatorInfo.h"
#include "store/Gameinfo.h"
#include "store/LocalGame.h"

#include <string>
#include <vector>

namespace ravelo {

/// The four library tables: their columns, statement texts, and the mapping between a record and
/// its row. Pure functions, any thread. Values are always bound as parameters, never formatted
/// into a statement.
class LibraryRows
{
public:
    /// Text version written into DbVer of every row: UTF-16 fields are stored as UTF-8.
    static constexpr const char* TextVersion = "1";

    struct Table
    {
        const char* Name;
        std::vector<const char*> Columns; // after Id, before DbVer
    };

    static const Table& GameinfoTable();
    static const Table& LocalGameTable();
    static const Table& DownloadInfoTable();
    static const Table& EmulatorInfoTable();

    /// In the order the start-up check walks them.
    static std::vector<const Table*> AllTables();

    /// "CREATE TABLE name (Id integer PRIMARY KEY AUTOINCREMENT, col TEXT, ...)" without DbVer,
    /// which the start-up check adds with its default.
    static std::string CreateStatement(const Table& table);

    /// "insert into name values (NULL,?1,...,?n);" with one parameter per column and DbVer.
    static std::string InsertStatement(const Table& table);

    /// "update name set col = ?,... ,DbVer = ? where key = ?;" over the columns from firstColumn
    /// on; the values are bound in that order, then DbVer, then the key.
    static std::string UpdateStatement(const Table& table, std::size_t firstColumn, const char* key);

    /// The row values of a record, in column order, DbVer last.
    static std::vector<std::string> Values(const Gameinfo& game);
    static std::vector<std::string> Values(const LocalGame& game);
    static std::vector<std::string> Values(const DownloadInfo& download);
    static std::vector<std::string> Values(const EmulatorInfo& emulator);

    /// A record from the current row of "select * from <table>", read by column index from 1.
    /// Columns a short (old or foreign) table lacks read as empty text.
    static Gameinfo ReadGameinfo(const CppSQLite3Query& row);
    static LocalGame ReadLocalGame(const CppSQLite3Query& row);
    static DownloadInfo ReadDownloadInfo(const CppSQLite3Query& row);
    static EmulatorInfo ReadEmulatorInfo(const CppSQLite3Query& row);

    /// UTF-16 text as stored: UTF-8. An unpaired surrogate becomes U+FFFD instead of losing the row.
    static std::string EncodeWide(const std::u16string& text);

    /// A stored UTF-16 field: UTF-8 when dbVer reads as 1, else the ANSI code page (rows written
    /// before DbVer existed). Malformed bytes become U+FFFD instead of losing the row.
    static std::u16string DecodeWide(const std::string& bytes, const std::string& dbVer);
};

} // namespace ravelo
