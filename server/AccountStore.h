#pragma once

#include "server/CatalogueRecords.h"
#include "server/ConnectionPool.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ravelo::server {

/// The catalogue's writable side: registered users, received page views and suggestions. Safe to call from
/// any request thread; writes from several threads are serialised by SQLite's write lock (each waits for the
/// lock rather than failing). Every operation throws SqliteError when the database fails.
class AccountStore
{
public:
    /// A registered user: uid as text and the ticket as issued (not percent-encoded).
    struct User
    {
        std::string uid;
        std::string ticket;
    };

    explicit AccountStore(ConnectionPool& pool) : m_pool(pool) {}

    /// Issues a new uid with a fresh random ticket and keeps both.
    User Register();
    /// True when the uid exists and its ticket equals the given one.
    bool CheckTicket(const std::string& uid, const std::string& ticket);

    void AddPageView(const PageView& view);
    /// The newest page views first, at most limit of them.
    std::vector<PageView> RecentPageViews(int limit);

    /// Creates the suggestions table when the catalogue predates it.
    void EnsureSuggestionTable();
    void AddSuggestion(const Suggestion& suggestion);
    /// The newest suggestions first, at most limit of them.
    std::vector<Suggestion> RecentSuggestions(int limit);

    /// A random ticket: Base64 text that always holds '+', '/' and '=', so that a client has to
    /// percent-encode it to send it back intact.
    static std::string NewTicket();

private:
    ConnectionPool& m_pool;
};

} // namespace ravelo::server
