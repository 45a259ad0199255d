#pragma once

#include <cstddef>
#include <cstdio>
#include <curl/curl.h>
#include <string>

namespace ravelo {

/// One libcurl easy handle for one transfer, released with the object. Every handle starts with the
/// settings all our transfers share: no signals (safe on worker threads), http and https only (also
/// for redirect targets), certificates checked where TLS is used, and at most ten redirects when
/// libcurl follows them itself.
class CurlEasy
{
public:
    CurlEasy();
    ~CurlEasy();
    CurlEasy(const CurlEasy&) = delete;
    CurlEasy& operator=(const CurlEasy&) = delete;

    /// False when libcurl could not create the handle; nothing else may be called then.
    explicit operator bool() const { return m_handle != nullptr; }
    CURL* Get() const { return m_handle; }

    template <typename T>
    void Set(CURLoption option, T value)
    {
        curl_easy_setopt(m_handle, option, value);
    }

    /// A one-line header list, kept alive until the handle is released.
    void SetHeaderLine(const std::string& line);
    /// The body is appended to out; more than limit bytes end the transfer with a write error.
    void WriteToString(std::string& out, std::size_t limit);
    /// The body is written to an open file; a short write ends the transfer with a write error.
    void WriteToFile(std::FILE* file);

    CURLcode Perform() { return curl_easy_perform(m_handle); }
    /// The HTTP response code; false when libcurl cannot tell it.
    bool ResponseCode(long& code) const;
    /// True when the answer outgrew the limit given to WriteToString.
    bool Overflowed() const { return m_overflowed; }

private:
    static std::size_t AppendToString(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t WriteFileBlock(char* data, std::size_t size, std::size_t count, void* file);

    CURL* m_handle = nullptr;
    curl_slist* m_headers = nullptr;
    std::string* m_output = nullptr;
    std::size_t m_limit = 0;
    bool m_overflowed = false;
};

} // namespace ravelo
