#include "platform/Md5.h"

#include <openssl/evp.h>

#include <cstdio>
#include <memory>

namespace ravelo {

namespace {

struct DigestContextDeleter
{
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

std::string Hex(const unsigned char* digest, unsigned size)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned i = 0; i < size; ++i) {
        out += digits[digest[i] >> 4];
        out += digits[digest[i] & 15];
    }
    return out;
}

} // namespace

std::string Md5Hex(const std::string& data)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned size = 0;
    EVP_Digest(data.data(), data.size(), digest, &size, EVP_md5(), nullptr);
    return Hex(digest, size);
}

namespace {

std::optional<std::string> FileDigestHex(const std::string& path, const EVP_MD* kind)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return std::nullopt;
    std::unique_ptr<EVP_MD_CTX, DigestContextDeleter> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), kind, nullptr) != 1)
        return std::nullopt;
    char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof(block), file.get())) > 0)
        EVP_DigestUpdate(context.get(), block, got);
    if (std::ferror(file.get()))
        return std::nullopt;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned size = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &size) != 1)
        return std::nullopt;
    return Hex(digest, size);
}

} // namespace

std::optional<std::string> FileMd5Hex(const std::string& path)
{
    return FileDigestHex(path, EVP_md5());
}

std::optional<std::string> FileSha256Hex(const std::string& path)
{
    return FileDigestHex(path, EVP_sha256());
}

} // namespace ravelo
