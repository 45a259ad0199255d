#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace ravelo::server {

/// One prepared statement. Values are only ever bound as parameters (1-based indexes); no value is
/// ever formatted into the statement text. Move-only; finalised by the destructor. Used by one
/// thread at a time (the one that holds the owning connection). Failures throw SqliteError.
class SqliteStatement
{
public:
    SqliteStatement() = default;
    explicit SqliteStatement(sqlite3_stmt* statement) : m_statement(statement) {}
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    /// Binds a value to the 1-based parameter; the text is copied by SQLite.
    SqliteStatement& Bind(int index, std::int64_t value);
    SqliteStatement& Bind(int index, std::string_view text);
    SqliteStatement& Bind(int index, const char* text) { return Bind(index, std::string_view(text)); }
    SqliteStatement& Bind(int index, const std::string& text) { return Bind(index, std::string_view(text)); }
    SqliteStatement& BindNull(int index);

    /// Runs one step: true while a row is available, false when done.
    bool Step();
    /// Runs a statement that returns no rows (or whose rows are not wanted) to completion.
    void Run();
    /// Makes the statement ready to run again with fresh bindings.
    void Reset();

    std::int64_t Int64(int column) const;
    int Int(int column) const { return static_cast<int>(Int64(column)); }
    /// Column text as UTF-8; NULL gives the empty text.
    std::string Text(int column) const;
    bool IsNull(int column) const;

private:
    void Check(int result, const char* what) const;

    sqlite3_stmt* m_statement = nullptr;
};

} // namespace ravelo::server
