#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace ravelo::server {

class SqliteStatement;

enum class GameOrder
{
    Recommend, ///< the catalogue's recommendation rank (a topic's own order inside a topic)
    New,       ///< most recently updated first
    Hot,       ///< most downloaded first
    WeekHot    ///< most downloaded this week first
};

/// What a game list asks for. Zero in a filter means "no filter".
struct GameFilter
{
    int category = 0;
    int system = 0; ///< system number
    int language = 0;
    int topic = 0;
    std::vector<std::string> keywords; ///< every word must occur in the Chinese or the Latin name
    GameOrder order = GameOrder::Recommend;
    int page = 1;
    int pageSize = 40;
};

/// Statement text plus the values to bind to it, in parameter order.
struct BoundSql
{
    std::string sql;
    std::vector<std::variant<std::int64_t, std::string>> values;

    /// Binds every value to the statement's parameters 1..n; throws SqliteError.
    void BindTo(SqliteStatement& statement) const;
};

/// Builds the statements of a game list. The statement text is put together only from fixed
/// fragments; every value that comes from a request (filters, keywords, paging) is a parameter.
class GameListQuery
{
public:
    enum class Dimension
    {
        None,
        Category,
        System,
        Language
    };

    /// The columns that CatalogueStore reads into a GameRecord, in its order.
    static const char* const GameColumns;

    explicit GameListQuery(const GameFilter& filter) : m_filter(filter) {}

    /// One page of games in the filter's order.
    BoundSql Page() const;
    /// The number of games that match.
    BoundSql Count() const;
    /// Matches per value of one dimension, under every filter except that dimension's own:
    /// rows of (id, name, count) in the order of the client's filters, values without matches left out.
    BoundSql Groups(Dimension dimension) const;

    /// Escapes LIKE's wildcards so that a keyword matches only itself.
    static std::string LikePattern(const std::string& word);

private:
    void AppendFromWhere(BoundSql& out, Dimension skip) const;

    GameFilter m_filter;
};

} // namespace ravelo::server
