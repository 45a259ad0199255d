#pragma once

#include <minizip/zip.h>
#include <string>
#include <sys/stat.h>

namespace ravelo::test {

/// Writes real zip archives for tests, including the odd entries hostile or foreign archives carry.
class ZipBuilder
{
public:
    explicit ZipBuilder(const std::string& path) : m_zip(zipOpen64(path.c_str(), APPEND_STATUS_CREATE)) {}
    ~ZipBuilder() { Close(); }

    /// rawName goes into the archive byte for byte; utf8Flag sets general-purpose bit 11.
    bool Add(const std::string& rawName, const std::string& data, bool utf8Flag = false,
             unsigned long unixMode = 0, int year = 2020, int month = 5, int day = 17)
    {
        zip_fileinfo info{};
        info.tmz_date.tm_year = static_cast<unsigned>(year);
        info.tmz_date.tm_mon = static_cast<unsigned>(month - 1);
        info.tmz_date.tm_mday = static_cast<unsigned>(day);
        info.tmz_date.tm_hour = 12;
        info.tmz_date.tm_min = 30;
        info.external_fa = unixMode << 16;
        const uLong madeBy = unixMode ? (3u << 8) | 20u : 20u;
        if (zipOpenNewFileInZip4_64(m_zip, rawName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                    Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                    Z_DEFAULT_STRATEGY, nullptr, 0, madeBy, utf8Flag ? 0x800 : 0,
                                    0) != ZIP_OK)
            return false;
        const bool ok =
            data.empty() || zipWriteInFileInZip(m_zip, data.data(), unsigned(data.size())) == ZIP_OK;
        return zipCloseFileInZip(m_zip) == ZIP_OK && ok;
    }

    bool AddSymlink(const std::string& name, const std::string& target)
    {
        return Add(name, target, false, S_IFLNK | 0777);
    }

    void Close()
    {
        if (m_zip)
            zipClose(m_zip, nullptr);
        m_zip = nullptr;
    }

private:
    zipFile m_zip;
};

} // namespace ravelo::test
