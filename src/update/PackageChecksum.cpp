#include "update/PackageChecksum.h"

#include <openssl/evp.h>

#include <cstdio>
#include <memory>

namespace ravelo {
namespace {

struct DigestContextDeleter
{
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

} // namespace

std::optional<std::string> FileSha256Hex(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return std::nullopt;
    std::unique_ptr<EVP_MD_CTX, DigestContextDeleter> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
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
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned i = 0; i < size; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 15];
    }
    return hex;
}

} // namespace ravelo
