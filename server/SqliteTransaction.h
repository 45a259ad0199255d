#pragma once

#include "server/SqliteDatabase.h"

namespace ravelo::server {

/// Runs a block as one transaction: BEGIN IMMEDIATE on construction, ROLLBACK in the destructor
/// unless Commit() was called. Throws SqliteError like the connection.
class SqliteTransaction
{
public:
    explicit SqliteTransaction(SqliteDatabase& db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void Commit();

private:
    SqliteDatabase& m_db;
    bool m_done = false;
};

} // namespace ravelo::server
