#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace ravelo::test {

/// A fresh folder under the system's temporary folder, removed with everything in it at scope end.
/// Path() ends in '/'.
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "ravelo-test-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data()) ? pattern : std::string();
        m_path += '/';
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

} // namespace ravelo::test
