#pragma once

#include "store/CppSQLite3Query.h"
#include "store/CppSQLite3Statement.h"

#include <sqlite3.h>
#include <string>

namespace ravelo {

/// One SQLite connection. Opened on one thread and then used by one thread at a time (the library
/// database's worker). Every failure throws CppSQLite3Exception; nothing returns an error code.
class CppSQLite3DB
{
public:
    CppSQLite3DB() = default;
    CppSQLite3DB(const CppSQLite3DB&) = delete;
    CppSQLite3DB& operator=(const CppSQLite3DB&) = delete;
    /// Closes the connection; never throws.
    virtual ~CppSQLite3DB();

    /// Opens (creating) the file, whose name is narrow text; applies the busy timeout. A connection
    /// already open is closed first. Throws SQLite's code and text; the connection stays closed.
    void open(const std::string& fileName);

    /// Does nothing when closed; throws "Unable to close database" (connection kept) on failure.
    void close();

    bool isOpen() const { return m_db != nullptr; }

    /// Runs one or more statements; returns the rows changed by the last. Throws "Database not
    /// open" when closed, otherwise SQLite's code and its error text.
    int execDML(const std::string& sql);

    /// Compiles the first statement of sql and takes its first step; the query owns the statement.
    CppSQLite3Query execQuery(const std::string& sql);

    /// Column 0 of the first row as an integer, 0 when NULL; "Invalid scalar query" without a row.
    int execScalar(const std::string& sql);

    /// Compiles the first statement of sql for repeated use with bound values.
    CppSQLite3Statement compileStatement(const std::string& sql);

    /// Milliseconds SQLite keeps retrying a locked database; applied now and to each later open.
    void setBusyTimeout(int milliseconds);

    /// True while an explicit transaction is open on the connection.
    bool inTransaction() const;

private:
    void checkDB() const;
    sqlite3_stmt* compile(const std::string& sql);

    sqlite3* m_db = nullptr;
    int m_busyTimeoutMs = 60000;
};

} // namespace ravelo
