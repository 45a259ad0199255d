#include "server/SafePath.h"

#include "platform/TextConvert.h"

#include <filesystem>

namespace ravelo::server {

std::optional<std::string> SafeRelativePath(const std::string& decoded)
{
    if (decoded.empty() || decoded.size() > 1024 || decoded.front() == '/' || !IsValidUtf8(decoded))
        return std::nullopt;
    for (unsigned char c : decoded) {
        if (c < 0x20 || c == 0x7F || c == '\\')
            return std::nullopt;
    }
    std::size_t start = 0;
    while (start <= decoded.size()) {
        auto end = decoded.find('/', start);
        if (end == std::string::npos)
            end = decoded.size();
        const std::string part = decoded.substr(start, end - start);
        if (part.empty() || part == "." || part == ".." || part.find(':') != std::string::npos)
            return std::nullopt;
        start = end + 1;
    }
    return decoded;
}

std::optional<std::string> ResolveInside(const std::string& folder, const std::string& relative)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path root = fs::canonical(folder, error);
    if (error)
        return std::nullopt;
    const fs::path file = fs::canonical(root / relative, error);
    if (error)
        return std::nullopt;
    const auto [rootEnd, fileAt] = std::mismatch(root.begin(), root.end(), file.begin(), file.end());
    if (rootEnd != root.end() || fileAt == file.end())
        return std::nullopt;
    if (!fs::is_regular_file(file, error))
        return std::nullopt;
    return file.string();
}

} // namespace ravelo::server
