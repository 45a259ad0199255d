#include "server/SqliteTransaction.h"

#include "server/SqliteError.h"

namespace ravelo::server {

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : m_db(db)
{
    m_db.Execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction()
{
    if (!m_done) {
        try {
            m_db.Execute("ROLLBACK");
        } catch (const SqliteError&) {
            // The transaction is already gone (the connection rolled it back itself).
        }
    }
}

void SqliteTransaction::Commit()
{
    m_db.Execute("COMMIT");
    m_done = true;
}

} // namespace ravelo::server
