#include "service/CurlEasy.h"

namespace ravelo {

CurlEasy::CurlEasy() : m_handle(curl_easy_init())
{
    if (!m_handle)
        return;
    Set(CURLOPT_NOSIGNAL, 1L);
#if LIBCURL_VERSION_NUM >= 0x075500
    Set(CURLOPT_PROTOCOLS_STR, "http,https");
    Set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
    Set(CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
    Set(CURLOPT_REDIR_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
    Set(CURLOPT_SSL_VERIFYPEER, 1L);
    Set(CURLOPT_SSL_VERIFYHOST, 2L);
    Set(CURLOPT_MAXREDIRS, 10L);
}

CurlEasy::~CurlEasy()
{
    if (m_handle)
        curl_easy_cleanup(m_handle);
    if (m_headers)
        curl_slist_free_all(m_headers);
}

void CurlEasy::SetHeaderLine(const std::string& line)
{
    if (m_headers)
        curl_slist_free_all(m_headers);
    m_headers = curl_slist_append(nullptr, line.c_str());
    Set(CURLOPT_HTTPHEADER, m_headers);
}

void CurlEasy::WriteToString(std::string& out, std::size_t limit)
{
    m_output = &out;
    m_limit = limit;
    Set(CURLOPT_WRITEFUNCTION, &CurlEasy::AppendToString);
    Set(CURLOPT_WRITEDATA, static_cast<void*>(this));
}

void CurlEasy::WriteToFile(std::FILE* file)
{
    Set(CURLOPT_WRITEFUNCTION, &CurlEasy::WriteFileBlock);
    Set(CURLOPT_WRITEDATA, static_cast<void*>(file));
}

bool CurlEasy::ResponseCode(long& code) const
{
    code = 0;
    return curl_easy_getinfo(m_handle, CURLINFO_RESPONSE_CODE, &code) == CURLE_OK;
}

std::size_t CurlEasy::AppendToString(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* easy = static_cast<CurlEasy*>(self);
    const std::size_t bytes = size * count;
    if (easy->m_output->size() + bytes > easy->m_limit) {
        easy->m_overflowed = true;
        return 0; // ends the transfer with CURLE_WRITE_ERROR
    }
    easy->m_output->append(data, bytes);
    return bytes;
}

std::size_t CurlEasy::WriteFileBlock(char* data, std::size_t size, std::size_t count, void* file)
{
    return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

} // namespace ravelo
