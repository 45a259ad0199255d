#pragma once

#include "server/SqliteStatement.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct sqlite3;

namespace ravelo::server {

/// One SQLite connection with a cache of prepared statements. Used by one thread at a time; the
/// catalogue hands connections to request threads through ConnectionPool. Every failure throws
/// SqliteError; the destructor finalises the statements and closes the connection.
class SqliteDatabase
{
public:
    enum class Mode
    {
        ReadWrite,      ///< the file must exist already
        CreateReadWrite ///< the file is created when missing
    };

    /// Opens the database file; throws SqliteError when it cannot be opened.
    SqliteDatabase(const std::string& path, Mode mode);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    /// Runs fixed statement text that takes no values (schema, pragmas, BEGIN/COMMIT).
    void Execute(const char* sql);

    /// The cached prepared statement for this text, reset and with no bindings. The reference stays
    /// valid as long as the connection; a statement must not be used again while it is being stepped.
    SqliteStatement& Query(const std::string& sql);

    /// Resets every statement handed out by Query since the last call, so that none keeps a read
    /// transaction (and with it an old snapshot) open while the connection sits idle.
    void ResetStatements();

    std::int64_t LastInsertRowId() const;
    int Changes() const;

private:
    sqlite3* m_db = nullptr;
    std::map<std::string, SqliteStatement> m_statements;
    std::vector<SqliteStatement*> m_handedOut;
};

} // namespace ravelo::server
