#include "store/CppSQLite3Statement.h"

#include "store/CppSQLite3Exception.h"

#include <utility>

namespace ravelo {

CppSQLite3Statement::CppSQLite3Statement(sqlite3* db, sqlite3_stmt* statement)
    : m_db(db), m_statement(statement)
{
}

CppSQLite3Statement::CppSQLite3Statement(CppSQLite3Statement&& other) noexcept
    : m_db(other.m_db), m_statement(std::exchange(other.m_statement, nullptr))
{
}

CppSQLite3Statement& CppSQLite3Statement::operator=(CppSQLite3Statement&& other) noexcept
{
    if (this != &other) {
        if (m_statement)
            sqlite3_finalize(m_statement);
        m_db = other.m_db;
        m_statement = std::exchange(other.m_statement, nullptr);
    }
    return *this;
}

CppSQLite3Statement::~CppSQLite3Statement()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
}

void CppSQLite3Statement::bind(int parameter, const std::string& value)
{
    checkStatement();
    checkBind(sqlite3_bind_text64(m_statement, parameter, value.data(), value.size(), SQLITE_TRANSIENT,
                                  SQLITE_UTF8));
}

void CppSQLite3Statement::bind(int parameter, const char* value)
{
    if (!value) {
        bindNull(parameter);
        return;
    }
    bind(parameter, std::string(value));
}

void CppSQLite3Statement::bind(int parameter, int value)
{
    checkStatement();
    checkBind(sqlite3_bind_int(m_statement, parameter, value));
}

void CppSQLite3Statement::bind(int parameter, std::int64_t value)
{
    checkStatement();
    checkBind(sqlite3_bind_int64(m_statement, parameter, static_cast<sqlite3_int64>(value)));
}

void CppSQLite3Statement::bindNull(int parameter)
{
    checkStatement();
    checkBind(sqlite3_bind_null(m_statement, parameter));
}

int CppSQLite3Statement::execDML()
{
    checkStatement();
    int result = sqlite3_step(m_statement);
    // A statement that yields rows (a PRAGMA, say) is run to its end as well.
    while (result == SQLITE_ROW)
        result = sqlite3_step(m_statement);
    if (result != SQLITE_DONE) {
        const CppSQLite3Exception error(result, sqlite3_errmsg(m_db));
        sqlite3_reset(m_statement);
        throw error;
    }
    const int changes = sqlite3_changes(m_db);
    sqlite3_reset(m_statement);
    return changes;
}

CppSQLite3Query CppSQLite3Statement::execQuery()
{
    checkStatement();
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_DONE)
        return CppSQLite3Query(m_db, m_statement, true, false);
    if (result == SQLITE_ROW)
        return CppSQLite3Query(m_db, m_statement, false, false);
    const CppSQLite3Exception error(result, sqlite3_errmsg(m_db));
    sqlite3_reset(m_statement);
    throw error;
}

void CppSQLite3Statement::reset()
{
    checkStatement();
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

void CppSQLite3Statement::finalize()
{
    if (!m_statement)
        return;
    const int result = sqlite3_finalize(std::exchange(m_statement, nullptr));
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, sqlite3_errmsg(m_db));
}

void CppSQLite3Statement::checkStatement() const
{
    if (!m_statement)
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Null Virtual Machine pointer");
}

void CppSQLite3Statement::checkBind(int result) const
{
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, sqlite3_errmsg(m_db));
}

} // namespace ravelo
