#pragma once

#include "store/CppSQLite3Query.h"

#include <cstdint>
#include <sqlite3.h>
#include <string>

namespace ravelo {

/// A compiled statement whose values are bound as parameters (numbered from 1), never formatted
/// into its text. Made by CppSQLite3DB::compileStatement; reusable: each exec resets it afterwards.
/// Used by the thread that uses its connection; every failure throws CppSQLite3Exception.
class CppSQLite3Statement
{
public:
    CppSQLite3Statement() = default;
    /// The connection is borrowed for error texts; the statement is owned.
    CppSQLite3Statement(sqlite3* db, sqlite3_stmt* statement);
    CppSQLite3Statement(CppSQLite3Statement&& other) noexcept;
    CppSQLite3Statement& operator=(CppSQLite3Statement&& other) noexcept;
    CppSQLite3Statement(const CppSQLite3Statement&) = delete;
    CppSQLite3Statement& operator=(const CppSQLite3Statement&) = delete;
    /// Finalizes; never throws. Queries made by execQuery must be gone by then.
    virtual ~CppSQLite3Statement();

    /// Binds text (copied by SQLite, embedded NULs kept). Throws SQLITE_RANGE for a bad index.
    void bind(int parameter, const std::string& value);
    void bind(int parameter, const char* value);
    void bind(int parameter, int value);
    void bind(int parameter, std::int64_t value);
    void bindNull(int parameter);

    /// Runs the statement to its end and returns sqlite3_changes. The statement is reset
    /// (bindings kept) whether it succeeded or threw.
    int execDML();

    /// Takes the first step and returns a cursor that borrows the statement; finishing the cursor
    /// resets the statement. A failing step resets the statement and throws.
    CppSQLite3Query execQuery();

    /// Ends any running cursor and clears the bindings.
    void reset();

    /// Releases the statement; throws when sqlite3_finalize reports an error.
    void finalize();

private:
    void checkStatement() const;
    void checkBind(int result) const;

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
};

} // namespace ravelo
