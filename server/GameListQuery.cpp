#include "server/GameListQuery.h"

#include "server/SqliteStatement.h"

#include <algorithm>

namespace ravelo::server {

const char* const GameListQuery::GameColumns =
    "g.gameid, g.gamename, g.orgname, g.icon, g.system, s.code, g.categoryid, c.name, g.language, l.name, "
    "g.version, g.updatedtime, g.downloads, g.good, g.bad, g.rating, g.min_players, g.max_players, "
    "g.archive_size, g.needsize";

void BoundSql::BindTo(SqliteStatement& statement) const
{
    int index = 1;
    for (const auto& value : values) {
        if (const auto* number = std::get_if<std::int64_t>(&value))
            statement.Bind(index++, *number);
        else
            statement.Bind(index++, std::get<std::string>(value));
    }
}

std::string GameListQuery::LikePattern(const std::string& word)
{
    std::string pattern = "%";
    for (char c : word) {
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    pattern += '%';
    return pattern;
}

void GameListQuery::AppendFromWhere(BoundSql& out, Dimension skip) const
{
    out.sql += " FROM games g JOIN systems s ON s.number = g.system JOIN categories c ON c.id = g.categoryid"
               " JOIN languages l ON l.id = g.language";
    if (m_filter.topic != 0) {
        out.sql += " JOIN topic_games t ON t.gameid = g.gameid AND t.topic = ?";
        out.values.emplace_back(std::int64_t{m_filter.topic});
    }
    const char* joiner = " WHERE ";
    auto condition = [&](const char* text) {
        out.sql += joiner;
        out.sql += text;
        joiner = " AND ";
    };
    if (m_filter.category != 0 && skip != Dimension::Category) {
        condition("g.categoryid = ?");
        out.values.emplace_back(std::int64_t{m_filter.category});
    }
    if (m_filter.system != 0 && skip != Dimension::System) {
        condition("g.system = ?");
        out.values.emplace_back(std::int64_t{m_filter.system});
    }
    if (m_filter.language != 0 && skip != Dimension::Language) {
        condition("g.language = ?");
        out.values.emplace_back(std::int64_t{m_filter.language});
    }
    for (const auto& word : m_filter.keywords) {
        // LIKE folds ASCII letters only, which is what Latin names need; Chinese matches exactly.
        condition("(g.gamename LIKE ? ESCAPE '\\' OR g.orgname LIKE ? ESCAPE '\\')");
        out.values.emplace_back(LikePattern(word));
        out.values.emplace_back(LikePattern(word));
    }
}

BoundSql GameListQuery::Page() const
{
    BoundSql out;
    out.sql = std::string("SELECT ") + GameColumns;
    AppendFromWhere(out, Dimension::None);
    switch (m_filter.order) {
    case GameOrder::Recommend:
        out.sql += m_filter.topic != 0 ? " ORDER BY t.seq, g.gameid" : " ORDER BY g.recommend, g.gameid";
        break;
    case GameOrder::New:
        out.sql += " ORDER BY g.updatedtime DESC, g.gameid DESC";
        break;
    case GameOrder::Hot:
        out.sql += " ORDER BY g.downloads DESC, g.gameid";
        break;
    case GameOrder::WeekHot:
        out.sql += " ORDER BY g.week_downloads DESC, g.gameid";
        break;
    }
    out.sql += " LIMIT ? OFFSET ?";
    const std::int64_t size = std::max(1, m_filter.pageSize);
    const std::int64_t page = std::max(1, m_filter.page);
    out.values.emplace_back(size);
    out.values.emplace_back((page - 1) * size);
    return out;
}

BoundSql GameListQuery::Count() const
{
    BoundSql out;
    out.sql = "SELECT COUNT(*)";
    AppendFromWhere(out, Dimension::None);
    return out;
}

BoundSql GameListQuery::Groups(Dimension dimension) const
{
    BoundSql out;
    switch (dimension) {
    case Dimension::Category:
        out.sql = "SELECT c.id, c.name, COUNT(*)";
        AppendFromWhere(out, dimension);
        out.sql += " GROUP BY c.id ORDER BY c.id";
        break;
    case Dimension::System:
        out.sql = "SELECT s.number, s.code, COUNT(*)";
        AppendFromWhere(out, dimension);
        out.sql += " GROUP BY s.number ORDER BY s.filter_index";
        break;
    case Dimension::Language:
        out.sql = "SELECT l.id, l.name, COUNT(*)";
        AppendFromWhere(out, dimension);
        out.sql += " GROUP BY l.id ORDER BY l.id";
        break;
    case Dimension::None:
        break;
    }
    return out;
}

} // namespace ravelo::server
