#pragma once

#include <string>

namespace ravelo::server {

/// Writes a zip archive through minizip. Entries are deflated and stamped with one fixed time so
/// that the same input always gives the same archive bytes. Names are UTF-8 (flagged as such);
/// files marked executable carry Unix mode 0755. Single-threaded; failures are reported by return
/// values and leave a partial archive that the caller deletes.
class ZipWriter
{
public:
    ZipWriter() = default;
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    /// Creates (or replaces) the archive file; false when it cannot be created.
    bool Open(const std::string& path);
    /// Adds one file entry ("dir/name" makes the folder implicitly) deflated at level (zlib's 0 to 9,
    /// -1 its default); false on a write failure.
    bool Add(const std::string& name, const std::string& data, bool executable = false, int level = -1);
    /// Adds a folder entry ("dir/").
    bool AddFolder(const std::string& name);
    /// Writes the central directory and closes the file; false on a write failure.
    bool Close();

private:
    bool AddEntry(const std::string& name, const std::string& data, unsigned long unixMode, int level = -1);

    void* m_zip = nullptr;
};

} // namespace ravelo::server
