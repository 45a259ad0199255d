#include "server/SqliteDatabase.h"

#include "server/SqliteError.h"

#include <sqlite3.h>

namespace ravelo::server {

SqliteDatabase::SqliteDatabase(const std::string& path, Mode mode)
{
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::CreateReadWrite)
        flags |= SQLITE_OPEN_CREATE;
    const int result = sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr);
    if (result != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(result);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw SqliteError("cannot open " + path + ": " + message, result);
    }
    // Writers (registrations, page views) may meet another connection's write lock; wait for it
    // rather than failing the request.
    sqlite3_busy_timeout(m_db, 5000);
}

SqliteDatabase::~SqliteDatabase()
{
    m_statements.clear();
    sqlite3_close(m_db);
}

void SqliteDatabase::Execute(const char* sql)
{
    char* error = nullptr;
    const int result = sqlite3_exec(m_db, sql, nullptr, nullptr, &error);
    if (result != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errstr(result);
        sqlite3_free(error);
        throw SqliteError(std::string("sqlite3_exec: ") + message, result);
    }
}

SqliteStatement& SqliteDatabase::Query(const std::string& sql)
{
    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        sqlite3_stmt* statement = nullptr;
        const int result = sqlite3_prepare_v3(m_db, sql.c_str(), static_cast<int>(sql.size() + 1),
                                              SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
        if (result != SQLITE_OK)
            throw SqliteError(std::string("sqlite3_prepare: ") + sqlite3_errmsg(m_db), result);
        found = m_statements.emplace(sql, SqliteStatement(statement)).first;
    } else {
        found->second.Reset();
    }
    if (m_handedOut.empty() || m_handedOut.back() != &found->second)
        m_handedOut.push_back(&found->second);
    return found->second;
}

void SqliteDatabase::ResetStatements()
{
    for (SqliteStatement* statement : m_handedOut)
        statement->Reset();
    m_handedOut.clear();
}

std::int64_t SqliteDatabase::LastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int SqliteDatabase::Changes() const
{
    return sqlite3_changes(m_db);
}

} // namespace ravelo::server
