#pragma once

#include <sqlite3.h>
#include <string>

namespace ravelo {

/// A cursor over the rows of one statement. Made by CppSQLite3DB::execQuery (owns its statement)
/// or CppSQLite3Statement::execQuery (borrows it; finishing the query resets it for reuse).
/// Used by one thread at a time; every failure throws CppSQLite3Exception.
class CppSQLite3Query
{
public:
    CppSQLite3Query() = default;
    /// The connection is borrowed for error texts; the statement is owned when ownsStatement is set.
    CppSQLite3Query(sqlite3* db, sqlite3_stmt* statement, bool eof, bool ownsStatement = true);
    CppSQLite3Query(CppSQLite3Query&& other) noexcept;
    CppSQLite3Query& operator=(CppSQLite3Query&& other) noexcept;
    CppSQLite3Query(const CppSQLite3Query&) = delete;
    CppSQLite3Query& operator=(const CppSQLite3Query&) = delete;
    /// Finalizes (or resets a borrowed statement); never throws.
    virtual ~CppSQLite3Query();

    /// True once the rows are exhausted. Throws "Null Virtual Machine pointer" after finalize().
    bool eof() const;

    int numFields() const;

    /// Text of a column of the current row, owned by SQLite until the next step; null for NULL.
    /// Throws "Invalid field index requested" outside 0 .. numFields() - 1.
    const char* fieldValue(int index) const;

    /// The column's bytes as a string (embedded NULs kept); empty for NULL. Same checks.
    std::string fieldString(int index) const;

    /// sqlite3_column_int of a column of the current row. Same checks.
    int fieldInt(int index) const;

    /// First column whose name equals name byte for byte; throws "Invalid field name requested".
    int fieldIndex(const std::string& name) const;

    /// sqlite3_column_type of a column (SQLITE_NULL is 5). Same index checks as fieldValue.
    int fieldDataType(int index) const;

    /// Steps to the next row; a failing step finalizes the statement and throws its code.
    void nextRow();

    /// Releases the statement (resets it when borrowed); throws when sqlite3_finalize fails.
    void finalize();

private:
    void checkStatement() const;
    void checkIndex(int index) const;
    void release() noexcept;

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    bool m_eof = true;
    int m_columns = 0;
    bool m_ownsStatement = false;
};

} // namespace ravelo
