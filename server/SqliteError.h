#pragma once

#include <stdexcept>
#include <string>

namespace ravelo::server {

/// Raised by the SQLite layer of the catalogue: what() names the failing call and SQLite's message.
class SqliteError : public std::runtime_error
{
public:
    SqliteError(const std::string& what, int code) : std::runtime_error(what), m_code(code) {}
    int Code() const { return m_code; }

private:
    int m_code;
};

} // namespace ravelo::server
