#include "service/PictureSignature.h"

#include <cstdint>
#include <cstdio>
#include <memory>

namespace ravelo {
namespace {

bool StartsWith(std::string_view head, std::string_view prefix)
{
    return head.substr(0, prefix.size()) == prefix;
}

/// "BM" alone is too common a start for a text answer: the file header's reserved bytes are zero and
/// an info header of a size some version of the format defines follows it.
bool IsBitmapHeader(std::string_view head)
{
    if (head.size() < 18 || head.substr(6, 4) != std::string_view("\0\0\0\0", 4))
        return false;
    std::uint32_t size = 0;
    for (int i = 3; i >= 0; --i)
        size = size << 8 | static_cast<unsigned char>(head[14 + i]);
    for (const std::uint32_t known : {12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u})
        if (size == known)
            return true;
    return false;
}

} // namespace

bool HasPictureSignature(std::string_view head)
{
    using namespace std::string_view_literals;
    if (StartsWith(head, "\x89PNG\r\n\x1A\n"sv))
        return true;
    if (StartsWith(head, "\xFF\xD8\xFF"sv))
        return true;
    if (StartsWith(head, "GIF87a"sv) || StartsWith(head, "GIF89a"sv))
        return true;
    if (StartsWith(head, "BM"sv) && IsBitmapHeader(head))
        return true;
    // Reserved 0, type 1 (icon), then a count of at least one image.
    if (StartsWith(head, "\0\0\1\0"sv) && head.size() >= 6 && (head[4] != 0 || head[5] != 0))
        return true;
    if (StartsWith(head, "RIFF"sv) && head.size() >= 12 && head.substr(8, 4) == "WEBP"sv)
        return true;
    return false;
}

bool IsPictureFile(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return false;
    char head[32];
    const std::size_t read = std::fread(head, 1, sizeof head, file.get());
    return HasPictureSignature(std::string_view(head, read));
}

} // namespace ravelo
