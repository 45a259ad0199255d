#include "server/ZipWriter.h"

#include <minizip/zip.h>

#include <algorithm>

namespace ravelo::server {

namespace {

// Version made by: Unix (3) in the high byte, so that the external attributes hold a Unix mode.
constexpr unsigned long MadeByUnix = (3UL << 8) | 20;
// General purpose flag bit 11: the entry name is UTF-8.
constexpr unsigned long Utf8NameFlag = 0x800;

} // namespace

ZipWriter::~ZipWriter()
{
    if (m_zip)
        zipClose(static_cast<zipFile>(m_zip), nullptr);
}

bool ZipWriter::Open(const std::string& path)
{
    if (m_zip)
        return false;
    m_zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    return m_zip != nullptr;
}

bool ZipWriter::AddEntry(const std::string& name, const std::string& data, unsigned long unixMode, int level)
{
    if (!m_zip)
        return false;
    zip_fileinfo info{};
    info.tmz_date.tm_year = 2024;
    info.tmz_date.tm_mon = 0;
    info.tmz_date.tm_mday = 1;
    info.tmz_date.tm_hour = 12;
    info.external_fa = unixMode << 16;
    auto* zip = static_cast<zipFile>(m_zip);
    if (zipOpenNewFileInZip4_64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, level,
                                0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, MadeByUnix,
                                Utf8NameFlag, 0) != ZIP_OK)
        return false;
    bool written = true;
    std::size_t done = 0;
    while (written && done < data.size()) {
        const auto block = static_cast<unsigned>(std::min<std::size_t>(data.size() - done, 1U << 20));
        written = zipWriteInFileInZip(zip, data.data() + done, block) == ZIP_OK;
        done += block;
    }
    return zipCloseFileInZip(zip) == ZIP_OK && written;
}

bool ZipWriter::Add(const std::string& name, const std::string& data, bool executable, int level)
{
    return AddEntry(name, data, executable ? 0100755 : 0100644, level);
}

bool ZipWriter::AddFolder(const std::string& name)
{
    return AddEntry(name.empty() || name.back() == '/' ? name : name + "/", std::string(), 040755);
}

bool ZipWriter::Close()
{
    if (!m_zip)
        return false;
    const bool closed = zipClose(static_cast<zipFile>(m_zip), nullptr) == ZIP_OK;
    m_zip = nullptr;
    return closed;
}

} // namespace ravelo::server
