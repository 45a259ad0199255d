#include "server/AccountStore.h"

#include "server/CatalogueSchema.h"

#include <array>
#include <charconv>
#include <ctime>
#include <random>

namespace ravelo::server {

namespace {

// Uids start here so that they look like the service's own numbers and never collide with 0.
constexpr std::int64_t UidBase = 100000;

std::string Base64(const unsigned char* data, std::size_t size)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < size; i += 3) {
        const unsigned value =
            (data[i] << 16) | (i + 1 < size ? data[i + 1] << 8 : 0) | (i + 2 < size ? data[i + 2] : 0);
        out += alphabet[(value >> 18) & 63];
        out += alphabet[(value >> 12) & 63];
        out += i + 1 < size ? alphabet[(value >> 6) & 63] : '=';
        out += i + 2 < size ? alphabet[value & 63] : '=';
    }
    return out;
}

std::string UtcNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

bool ParseUid(const std::string& text, std::int64_t& uid)
{
    if (text.empty() || text.size() > 18)
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), uid);
    return error == std::errc() && end == text.data() + text.size() && uid > UidBase;
}

bool SameText(const std::string& a, const std::string& b)
{
    // Compares in time that depends on the length only, so a ticket cannot be guessed byte by byte.
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace

std::string AccountStore::NewTicket()
{
    std::random_device device;
    std::array<unsigned char, 25> bytes{};
    // 25 bytes end in "==". Draw until '+' and '/' both occur too; about one draw in six does.
    for (int attempt = 0;; ++attempt) {
        for (auto& byte : bytes)
            byte = static_cast<unsigned char>(device());
        std::string ticket = Base64(bytes.data(), bytes.size());
        const bool complete = ticket.find('+') != std::string::npos && ticket.find('/') != std::string::npos;
        if (complete)
            return ticket;
        if (attempt >= 64) {
            ticket[0] = '+';
            ticket[1] = '/';
            return ticket;
        }
    }
}

AccountStore::User AccountStore::Register()
{
    auto db = m_pool.Acquire();
    const std::string ticket = NewTicket();
    auto& insert = db->Query("INSERT INTO users (uid, ticket, created) VALUES"
                             " ((SELECT MAX(?, COALESCE(MAX(uid), 0)) + 1 FROM users), ?, ?)");
    insert.Bind(1, UidBase).Bind(2, ticket).Bind(3, UtcNow());
    insert.Run();
    return User{std::to_string(db->LastInsertRowId()), ticket};
}

bool AccountStore::CheckTicket(const std::string& uid, const std::string& ticket)
{
    std::int64_t number = 0;
    if (!ParseUid(uid, number) || ticket.empty())
        return false;
    auto db = m_pool.Acquire();
    auto& row = db->Query("SELECT ticket FROM users WHERE uid = ?");
    row.Bind(1, number);
    return row.Step() && SameText(row.Text(0), ticket);
}

void AccountStore::AddPageView(const PageView& view)
{
    auto db = m_pool.Acquire();
    auto& insert = db->Query("INSERT INTO page_views (time, siteid, referer, user_agent, r, rnd, remote_addr)"
                             " VALUES (?, ?, ?, ?, ?, ?, ?)");
    insert.Bind(1, view.time.empty() ? UtcNow() : view.time)
        .Bind(2, view.siteId)
        .Bind(3, view.referer)
        .Bind(4, view.userAgent)
        .Bind(5, view.r)
        .Bind(6, view.rnd)
        .Bind(7, view.remoteAddr);
    insert.Run();
}

std::vector<PageView> AccountStore::RecentPageViews(int limit)
{
    auto db = m_pool.Acquire();
    auto& rows = db->Query("SELECT time, siteid, referer, user_agent, r, rnd, remote_addr FROM page_views"
                           " ORDER BY id DESC LIMIT ?");
    rows.Bind(1, std::int64_t{limit});
    std::vector<PageView> views;
    while (rows.Step())
        views.push_back({rows.Text(0), rows.Text(1), rows.Text(2), rows.Text(3), rows.Text(4), rows.Text(5),
                         rows.Text(6)});
    return views;
}

void AccountStore::EnsureSuggestionTable()
{
    auto db = m_pool.Acquire();
    CreateSuggestionTable(*db);
}

void AccountStore::AddSuggestion(const Suggestion& suggestion)
{
    auto db = m_pool.Acquire();
    auto& insert = db->Query(
        "INSERT INTO suggestions (time, uid, content, contact, remote_addr) VALUES (?, ?, ?, ?, ?)");
    insert.Bind(1, suggestion.time.empty() ? UtcNow() : suggestion.time)
        .Bind(2, suggestion.uid)
        .Bind(3, suggestion.content)
        .Bind(4, suggestion.contact)
        .Bind(5, suggestion.remoteAddr);
    insert.Run();
}

std::vector<Suggestion> AccountStore::RecentSuggestions(int limit)
{
    auto db = m_pool.Acquire();
    auto& rows = db->Query(
        "SELECT time, uid, content, contact, remote_addr FROM suggestions ORDER BY id DESC LIMIT ?");
    rows.Bind(1, std::int64_t{limit});
    std::vector<Suggestion> suggestions;
    while (rows.Step())
        suggestions.push_back({rows.Text(0), rows.Text(1), rows.Text(2), rows.Text(3), rows.Text(4)});
    return suggestions;
}

} // namespace ravelo::server
