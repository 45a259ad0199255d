#pragma once

#include "server/SqliteDatabase.h"

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ravelo::server {

/// Connections to the catalogue database, lent to request threads one at a time.
///
/// Why a pool rather than one connection behind a mutex: nearly every request only reads, and in
/// WAL mode SQLite lets readers on separate connections run side by side while a registration or a
/// page view is written, so the HTTP worker threads never queue behind each other. Each connection
/// keeps its own prepared statements. The pool holds at most one connection per HTTP worker thread,
/// opened on first need, so a lease never waits in practice.
class ConnectionPool
{
public:
    /// A borrowed connection, given back to the pool when the lease ends.
    class Lease
    {
    public:
        Lease(ConnectionPool& pool, std::unique_ptr<SqliteDatabase> db) : m_pool(&pool), m_db(std::move(db))
        {
        }
        ~Lease();
        Lease(Lease&& other) noexcept = default;
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Lease& operator=(Lease&&) = delete;

        SqliteDatabase& operator*() const { return *m_db; }
        SqliteDatabase* operator->() const { return m_db.get(); }

    private:
        ConnectionPool* m_pool;
        std::unique_ptr<SqliteDatabase> m_db;
    };

    /// Remembers the database path; connections are opened lazily. maxConnections >= 1.
    ConnectionPool(std::string path, std::size_t maxConnections);

    /// Called on any request thread; waits only while every connection is lent out. Throws
    /// SqliteError when a new connection cannot be opened.
    Lease Acquire();

private:
    void GiveBack(std::unique_ptr<SqliteDatabase> db);

    const std::string m_path;
    const std::size_t m_max;
    std::mutex m_mutex;
    std::condition_variable m_returned;
    std::vector<std::unique_ptr<SqliteDatabase>> m_idle;
    std::size_t m_opened = 0;
};

} // namespace ravelo::server
