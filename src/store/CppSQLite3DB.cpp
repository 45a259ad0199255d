#include "store/CppSQLite3DB.h"

#include "platform/TextConvert.h"
#include "store/CppSQLite3Exception.h"

namespace ravelo {

CppSQLite3DB::~CppSQLite3DB()
{
    try {
        close();
    } catch (const CppSQLite3Exception&) {
    }
}

void CppSQLite3DB::open(const std::string& fileName)
{
    close();
    std::string utf8Name;
    try {
        utf8Name = AnsiToUtf8(fileName);
    } catch (const TextConversionError& error) {
        throw CppSQLite3Exception(CPPSQLITE_ERROR, error.what());
    }
    sqlite3* db = nullptr;
    const int result = sqlite3_open(utf8Name.c_str(), &db);
    if (result != SQLITE_OK) {
        // SQLite hands out a handle even when the open fails; it must still be closed.
        const CppSQLite3Exception error(result, db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        throw error;
    }
    m_db = db;
    sqlite3_busy_timeout(m_db, m_busyTimeoutMs);
}

void CppSQLite3DB::close()
{
    if (!m_db)
        return;
    if (sqlite3_close(m_db) != SQLITE_OK)
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Unable to close database");
    m_db = nullptr;
}

int CppSQLite3DB::execDML(const std::string& sql)
{
    checkDB();
    char* errorText = nullptr;
    const int result = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &errorText);
    if (result != SQLITE_OK) {
        const CppSQLite3Exception error(result, errorText);
        sqlite3_free(errorText);
        throw error;
    }
    return sqlite3_changes(m_db);
}

CppSQLite3Query CppSQLite3DB::execQuery(const std::string& sql)
{
    checkDB();
    sqlite3_stmt* statement = compile(sql);
    const int result = sqlite3_step(statement);
    if (result == SQLITE_DONE)
        return CppSQLite3Query(m_db, statement, true);
    if (result == SQLITE_ROW)
        return CppSQLite3Query(m_db, statement, false);
    const CppSQLite3Exception error(result, sqlite3_errmsg(m_db));
    sqlite3_finalize(statement);
    throw error;
}

int CppSQLite3DB::execScalar(const std::string& sql)
{
    CppSQLite3Query query = execQuery(sql);
    if (query.eof() || query.numFields() < 1)
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Invalid scalar query");
    const int value = query.fieldDataType(0) == SQLITE_NULL ? 0 : query.fieldInt(0);
    query.finalize();
    return value;
}

CppSQLite3Statement CppSQLite3DB::compileStatement(const std::string& sql)
{
    checkDB();
    return CppSQLite3Statement(m_db, compile(sql));
}

void CppSQLite3DB::setBusyTimeout(int milliseconds)
{
    m_busyTimeoutMs = milliseconds;
    if (m_db)
        sqlite3_busy_timeout(m_db, m_busyTimeoutMs);
}

bool CppSQLite3DB::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

void CppSQLite3DB::checkDB() const
{
    if (!m_db)
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Database not open");
}

sqlite3_stmt* CppSQLite3DB::compile(const std::string& sql)
{
    checkDB();
    sqlite3_stmt* statement = nullptr;
    const int result = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, sqlite3_errmsg(m_db));
    if (!statement) // text without a statement (blank or a comment)
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Null Virtual Machine pointer");
    return statement;
}

} // namespace ravelo
