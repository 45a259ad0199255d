#include "server/UpdatePackage.h"

#include "platform/FileSystem.h"
#include "platform/Md5.h"
#include "server/ZipWriter.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace ravelo::server {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUpdater = "ravelo-update";
constexpr const char* kCacheFolder = ".demo-update-cache/";

void AddTree(const std::string& folder, const std::string& prefix, std::vector<UpdatePackageFile>& files)
{
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end());
    for (const fs::directory_entry& entry : entries) {
        const std::string name = prefix + entry.path().filename().string();
        std::error_code kind;
        if (entry.is_directory(kind))
            AddTree(entry.path().string(), name + "/", files);
        else if (entry.is_regular_file(kind))
            files.push_back(
                {name, entry.path().string(),
                 (fs::status(entry.path(), kind).permissions() & fs::perms::owner_exec) != fs::perms::none});
    }
}

/// Names every input with its size and time, so that a rebuilt program makes a new package.
std::string Fingerprint(const std::vector<UpdatePackageFile>& files)
{
    std::string text;
    for (const UpdatePackageFile& file : files) {
        struct stat info
        {
        };
        if (::stat(file.source.c_str(), &info) != 0)
            return std::string();
        text += file.name + "\t" + std::to_string(info.st_size) + "\t" + std::to_string(info.st_mtim.tv_sec) +
                "." + std::to_string(info.st_mtim.tv_nsec) + "\n";
    }
    return Md5Hex(text);
}

bool WritePackage(const std::vector<UpdatePackageFile>& files, const std::string& path, std::string& error)
{
    CreateFolderChain(path);
    ZipWriter zip;
    bool written = zip.Open(path);
    for (const UpdatePackageFile& file : files) {
        std::string data;
        if (!ReadWholeFile(file.source, data)) {
            error = "无法读取程序文件: " + file.source;
            zip.Close();
            return false;
        }
        // Programs are large: the fastest compression keeps building a catalogue quick.
        written = written && zip.Add(file.name, data, file.executable, Z_BEST_SPEED);
    }
    written = zip.Close() && written;
    if (!written)
        error = "无法写入升级包: " + path;
    return written;
}

} // namespace

std::vector<UpdatePackageFile> UpdatePackageFiles(const std::string& programFolder)
{
    const std::string folder = WithTrailingSeparator(programFolder);
    if (!FileExists(folder + kUpdater))
        return {};
    std::vector<UpdatePackageFile> files{{kUpdater, folder + kUpdater, true}};
    for (const char* program : {"ravelo", "ravelo-cli", kUpdater})
        if (FileExists(folder + program))
            files.push_back({std::string("program/") + program, folder + program, true});
    for (const char* tree : {"LocalGameRes", "locale"})
        if (FolderExists(folder + tree))
            AddTree(folder + tree, std::string("program/") + tree + "/", files);
    return files;
}

bool MakeUpdatePackage(const std::string& programFolder, const std::string& target, std::string& sha256,
                       std::string& error)
{
    const std::string folder = WithTrailingSeparator(programFolder);
    const std::vector<UpdatePackageFile> files = UpdatePackageFiles(folder);
    if (files.empty()) {
        error = std::string("找不到升级程序 ") + kUpdater + "（请先构建它）: " + folder + kUpdater;
        return false;
    }
    const std::string key = Fingerprint(files);
    // Only a build or a portable folder keeps the cache: an installed program's folder is the
    // system's, even when the one building a catalogue could write there.
    const bool cacheable =
        !key.empty() && FileExists(folder + "portable.txt") && ::access(folder.c_str(), W_OK) == 0;
    const std::string cached = folder + kCacheFolder + "Update-" + key + ".zip";
    if (!cacheable || !FileExists(cached)) {
        const std::string made = cacheable ? cached : target;
        const std::string partial = made + ".part" + std::to_string(::getpid());
        if (!WritePackage(files, partial, error)) {
            std::remove(partial.c_str());
            return false;
        }
        if (cacheable) {
            // Only the newest package is kept.
            std::error_code ignored;
            for (fs::directory_iterator it(folder + kCacheFolder, ignored), end; !ignored && it != end;
                 it.increment(ignored))
                if (it->path().extension() == ".zip" && it->path().string() != cached)
                    fs::remove(it->path(), ignored);
        }
        if (std::rename(partial.c_str(), made.c_str()) != 0) {
            std::remove(partial.c_str());
            error = "无法写入升级包: " + made;
            return false;
        }
    }
    if (cacheable) {
        CreateFolderChain(target);
        std::error_code failure;
        fs::copy_file(cached, target, fs::copy_options::overwrite_existing, failure);
        if (failure) {
            error = "无法写入升级包: " + target;
            return false;
        }
    }
    sha256 = FileSha256(target);
    if (sha256.empty()) {
        error = "无法读取升级包: " + target;
        return false;
    }
    return true;
}

std::string FileSha256(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return std::string();
    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
        return std::string();
    char block[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof(block), file.get())) > 0)
        EVP_DigestUpdate(context.get(), block, got);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned size = 0;
    if (std::ferror(file.get()) || EVP_DigestFinal_ex(context.get(), digest, &size) != 1)
        return std::string();
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned i = 0; i < size; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 15];
    }
    return hex;
}

} // namespace ravelo::server
