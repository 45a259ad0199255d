#pragma once

namespace ravelo {

/// Error code of the failures that the wrapper itself detects (as opposed to SQLite's own codes).
constexpr int CPPSQLITE_ERROR = 1000;

/// The one failure type of the SQLite wrapper. The message reads "<code name>[<code>]: <detail>".
/// Not derived from std::exception: callers catch it by name.
class CppSQLite3Exception
{
public:
    /// Any thread. detail may be null (written as an empty text); the exception keeps its own copy.
    CppSQLite3Exception(int errorCode, const char* detail);
    CppSQLite3Exception(const CppSQLite3Exception& other);
    CppSQLite3Exception& operator=(const CppSQLite3Exception& other);
    virtual ~CppSQLite3Exception();

    int errorCode() const { return m_errorCode; }

    /// The full message, owned by the exception; null only when SQLite could not allocate it.
    const char* errorMessage() const { return m_errorMessage; }

    /// Name of an SQLite result code or of CPPSQLITE_ERROR; "UNKNOWN_ERROR" for anything else.
    static const char* errorCodeAsString(int errorCode);

private:
    int m_errorCode;
    char* m_errorMessage;
};

} // namespace ravelo
