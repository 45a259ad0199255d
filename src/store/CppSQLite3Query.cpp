#include "store/CppSQLite3Query.h"

#include "store/CppSQLite3Exception.h"

#include <utility>

namespace ravelo {

CppSQLite3Query::CppSQLite3Query(sqlite3* db, sqlite3_stmt* statement, bool eof, bool ownsStatement)
    : m_db(db), m_statement(statement), m_eof(eof), m_columns(sqlite3_column_count(statement)),
      m_ownsStatement(ownsStatement)
{
}

CppSQLite3Query::CppSQLite3Query(CppSQLite3Query&& other) noexcept
    : m_db(other.m_db), m_statement(std::exchange(other.m_statement, nullptr)), m_eof(other.m_eof),
      m_columns(other.m_columns), m_ownsStatement(other.m_ownsStatement)
{
}

CppSQLite3Query& CppSQLite3Query::operator=(CppSQLite3Query&& other) noexcept
{
    if (this != &other) {
        release();
        m_db = other.m_db;
        m_statement = std::exchange(other.m_statement, nullptr);
        m_eof = other.m_eof;
        m_columns = other.m_columns;
        m_ownsStatement = other.m_ownsStatement;
    }
    return *this;
}

CppSQLite3Query::~CppSQLite3Query()
{
    release();
}

void CppSQLite3Query::release() noexcept
{
    try {
        finalize();
    } catch (const CppSQLite3Exception&) {
    }
}

bool CppSQLite3Query::eof() const
{
    checkStatement();
    return m_eof;
}

int CppSQLite3Query::numFields() const
{
    checkStatement();
    return m_columns;
}

const char* CppSQLite3Query::fieldValue(int index) const
{
    checkIndex(index);
    return reinterpret_cast<const char*>(sqlite3_column_text(m_statement, index));
}

std::string CppSQLite3Query::fieldString(int index) const
{
    checkIndex(index);
    // Text first, then its length: the documented order for a correct byte count.
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, index));
    if (!text)
        return {};
    return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(m_statement, index)));
}

int CppSQLite3Query::fieldInt(int index) const
{
    checkIndex(index);
    return sqlite3_column_int(m_statement, index);
}

int CppSQLite3Query::fieldIndex(const std::string& name) const
{
    checkStatement();
    for (int column = 0; column < m_columns; ++column) {
        const char* columnName = sqlite3_column_name(m_statement, column);
        if (columnName && name == columnName)
            return column;
    }
    throw CppSQLite3Exception(CPPSQLITE_ERROR, "Invalid field name requested");
}

int CppSQLite3Query::fieldDataType(int index) const
{
    checkIndex(index);
    return sqlite3_column_type(m_statement, index);
}

void CppSQLite3Query::nextRow()
{
    checkStatement();
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_DONE) {
        m_eof = true;
    } else if (result != SQLITE_ROW) {
        const CppSQLite3Exception error(result, sqlite3_errmsg(m_db));
        release();
        throw error;
    }
}

void CppSQLite3Query::finalize()
{
    if (!m_statement)
        return;
    sqlite3_stmt* statement = std::exchange(m_statement, nullptr);
    if (!m_ownsStatement) {
        // A borrowed statement stays compiled for its owner; only the cursor ends here.
        sqlite3_reset(statement);
        return;
    }
    const int result = sqlite3_finalize(statement);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, sqlite3_errmsg(m_db));
}

void CppSQLite3Query::checkStatement() const
{
    if (!m_statement)
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Null Virtual Machine pointer");
}

void CppSQLite3Query::checkIndex(int index) const
{
    checkStatement();
    if (index < 0 || index > m_columns - 1)
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Invalid field index requested");
}

} // namespace ravelo
