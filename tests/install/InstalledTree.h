#pragma once

#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace ravelo::test {

/// The build installed once per test program into a temporary DESTDIR with the prefix /usr, as a
/// package would lay it out. Installed on first use; removed when the program ends.
class InstalledTree
{
public:
    static InstalledTree& Get()
    {
        static InstalledTree tree;
        return tree;
    }

    /// True when "cmake --install" succeeded.
    bool Ok() const { return m_ok; }
    /// DESTDIR + "/usr/", ending in '/'.
    std::string Prefix() const { return m_root / "usr/"; }
    std::string Root() const { return m_root.Path(); }

    /// Every file and folder below the DESTDIR, relative to it.
    std::set<std::string> Listing() const
    {
        std::set<std::string> paths;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_root.Path()))
            paths.insert(entry.path().string().substr(m_root.Path().size()));
        return paths;
    }

private:
    InstalledTree()
    {
        ::setenv("DESTDIR", m_root.Path().c_str(), 1);
        ChildProcess install({RAVELO_CMAKE_EXE, "--install", RAVELO_BUILD_DIR, "--prefix", "/usr"});
        while (!install.ReadLine(std::chrono::seconds(60)).empty()) {
        }
        m_ok = install.Wait() == 0;
        ::unsetenv("DESTDIR");
    }

    TempFolder m_root;
    bool m_ok = false;
};

/// The full path of a program found on PATH, or empty.
inline std::string FindOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

/// Runs a program to its end; its exit status and everything it printed on stdout.
inline int RunToEnd(const std::vector<std::string>& args, std::string* output = nullptr)
{
    ChildProcess child(args);
    for (std::string line; !(line = child.ReadLine(std::chrono::seconds(60))).empty();)
        if (output)
            *output += line + "\n";
    return child.Wait();
}

} // namespace ravelo::test
