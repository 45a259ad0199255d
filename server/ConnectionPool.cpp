#include "server/ConnectionPool.h"

namespace ravelo::server {

ConnectionPool::Lease::~Lease()
{
    if (m_db)
        m_pool->GiveBack(std::move(m_db));
}

ConnectionPool::ConnectionPool(std::string path, std::size_t maxConnections)
    : m_path(std::move(path)), m_max(maxConnections ? maxConnections : 1)
{
}

ConnectionPool::Lease ConnectionPool::Acquire()
{
    std::unique_lock lock(m_mutex);
    m_returned.wait(lock, [this] { return !m_idle.empty() || m_opened < m_max; });
    if (!m_idle.empty()) {
        auto db = std::move(m_idle.back());
        m_idle.pop_back();
        return Lease(*this, std::move(db));
    }
    ++m_opened;
    lock.unlock();
    try {
        auto db = std::make_unique<SqliteDatabase>(m_path, SqliteDatabase::Mode::ReadWrite);
        db->Execute("PRAGMA foreign_keys = ON");
        return Lease(*this, std::move(db));
    } catch (...) {
        std::lock_guard relock(m_mutex);
        --m_opened;
        m_returned.notify_one();
        throw;
    }
}

void ConnectionPool::GiveBack(std::unique_ptr<SqliteDatabase> db)
{
    db->ResetStatements();
    {
        std::lock_guard lock(m_mutex);
        m_idle.push_back(std::move(db));
    }
    m_returned.notify_one();
}

} // namespace ravelo::server
