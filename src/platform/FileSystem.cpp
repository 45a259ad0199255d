#include "platform/FileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ravelo {

bool CreateFolderChain(const std::string& path)
{
    const auto last = path.find_last_of('/');
    if (last == std::string::npos)
        return true;
    for (std::size_t pos = path.find('/', 1); pos != std::string::npos && pos <= last;
         pos = path.find('/', pos + 1)) {
        const std::string folder = path.substr(0, pos);
        if (!folder.empty() && !FolderExists(folder))
            ::mkdir(folder.c_str(), 0755);
    }
    return true;
}

std::string ExecutableFolder()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n <= 0)
        return "./";
    std::string path(buffer, static_cast<std::size_t>(n));
    return path.substr(0, path.find_last_of('/') + 1);
}

std::string TemporaryFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    return WithTrailingSeparator(tmp && *tmp ? tmp : "/tmp");
}

std::string WithTrailingSeparator(std::string path)
{
    if (!path.empty() && path.back() != '/' && path.back() != '\\')
        path.push_back('/');
    return path;
}

bool FileExists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathExists(const std::string& path)
{
    struct stat st
    {
    };
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool FolderExists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& contents)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    contents.clear();
    char buffer[64 * 1024];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
        contents.append(buffer, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool WriteFileAtomically(const std::string& path, const std::string& contents)
{
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, contents.data(), contents.size()) && ::fsync(fd) == 0;
    // Keep the permissions of the file being replaced; a new file gets the usual 0644.
    struct stat st
    {
    };
    ::fchmod(fd, ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}

} // namespace ravelo
