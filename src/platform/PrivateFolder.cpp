#include "platform/PrivateFolder.h"

#include "platform/FileSystem.h"
#include "platform/Translate.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace ravelo {
namespace {

std::string WithoutTrailingSeparator(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

PrivateFolderResult Refuse(std::string* reason, const std::string& text)
{
    if (reason)
        *reason = text;
    return PrivateFolderResult::Refused;
}

} // namespace

PrivateFolderResult MakePrivateFolder(const std::string& folder, std::string* reason)
{
    const std::string path = WithoutTrailingSeparator(folder);
    CreateFolderChain(path); // the parents; the folder itself is made below with its own mode

    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) == 0) {
        if (st.st_uid != ::geteuid())
            return Refuse(reason, std::string(Tr("临时文件夹属于其他用户,无法使用: ")) + path);
        const bool usable = S_ISDIR(st.st_mode) && (st.st_mode & 077) == 0;
        if (usable)
            return PrivateFolderResult::Ready;
        // Ours but not private: files in it may have been planted by others, so start empty.
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return Refuse(reason,
                      std::string(Tr("无法创建临时文件夹: ")) + path + " (" + std::strerror(errno) + ")");
    // mkdir honours the umask only by narrowing, and another process may have raced us to the name:
    // check once more what is there now.
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return Refuse(reason, std::string(Tr("临时文件夹属于其他用户,无法使用: ")) + path);
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0)
        return Refuse(reason,
                      std::string(Tr("无法创建临时文件夹: ")) + path + " (" + std::strerror(errno) + ")");
    return PrivateFolderResult::Ready;
}

} // namespace ravelo
