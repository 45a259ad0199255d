#include "server/SqliteStatement.h"

#include "server/SqliteError.h"

#include <sqlite3.h>

namespace ravelo::server {

SqliteStatement::~SqliteStatement()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept : m_statement(other.m_statement)
{
    other.m_statement = nullptr;
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept
{
    if (this != &other) {
        if (m_statement)
            sqlite3_finalize(m_statement);
        m_statement = other.m_statement;
        other.m_statement = nullptr;
    }
    return *this;
}

void SqliteStatement::Check(int result, const char* what) const
{
    if (result == SQLITE_OK)
        return;
    sqlite3* db = m_statement ? sqlite3_db_handle(m_statement) : nullptr;
    throw SqliteError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(result)), result);
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value)
{
    Check(sqlite3_bind_int64(m_statement, index, value), "sqlite3_bind_int64");
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text)
{
    Check(sqlite3_bind_text64(m_statement, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8),
          "sqlite3_bind_text");
    return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index)
{
    Check(sqlite3_bind_null(m_statement, index), "sqlite3_bind_null");
    return *this;
}

bool SqliteStatement::Step()
{
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result == SQLITE_DONE)
        return false;
    Check(result, "sqlite3_step");
    return false;
}

void SqliteStatement::Run()
{
    while (Step()) {
    }
}

void SqliteStatement::Reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

std::int64_t SqliteStatement::Int64(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

std::string SqliteStatement::Text(int column) const
{
    const auto* text = sqlite3_column_text(m_statement, column);
    if (!text)
        return {};
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column)));
}

bool SqliteStatement::IsNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

} // namespace ravelo::server
