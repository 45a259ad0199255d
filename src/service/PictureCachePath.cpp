#include "service/PictureCachePath.h"

#include "platform/PlainName.h"

#include <cctype>
#include <string_view>

namespace ravelo {
namespace {

enum class AddressKind
{
    Relative,
    Absolute, // http or https
    Refused,
};

/// The scheme of an address ("" when it has none): letters, digits, '+', '-' and '.' after a letter,
/// ended by ':' before any separator, query or fragment.
std::string SchemeOf(std::string_view address)
{
    const std::size_t colon = address.find_first_of(":/\\?#");
    if (colon == std::string_view::npos || colon == 0 || address[colon] != ':')
        return std::string();
    std::string scheme;
    for (std::size_t i = 0; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(address[i]);
        const bool allowed =
            std::isalpha(c) || (i > 0 && (std::isdigit(c) || c == '+' || c == '-' || c == '.'));
        if (!allowed)
            return std::string();
        scheme += static_cast<char>(std::tolower(c));
    }
    return scheme;
}

/// Sorts an address and gives the part that names the file (for an absolute one, what follows the
/// host).
AddressKind Classify(std::string_view address, std::string_view& path)
{
    const std::string scheme = SchemeOf(address);
    if (scheme.empty()) {
        path = address;
        return AddressKind::Relative;
    }
    if (scheme != "http" && scheme != "https")
        return AddressKind::Refused;
    std::string_view rest = address.substr(scheme.size() + 1);
    if (rest.substr(0, 2) != "//")
        return AddressKind::Refused;
    rest.remove_prefix(2);
    const std::size_t hostEnd = rest.find_first_of("/\\?#");
    if (hostEnd == 0 || rest.empty())
        return AddressKind::Refused; // no host
    path = hostEnd == std::string_view::npos ? std::string_view() : rest.substr(hostEnd);
    return AddressKind::Absolute;
}

} // namespace

std::string PictureCachePath(const std::string& cacheFolder, const std::string& address)
{
    std::string_view path;
    if (Classify(address, path) == AddressKind::Refused)
        return std::string();
    path = path.substr(0, path.find_first_of("?#"));

    std::string relative;
    std::string_view lastPart;
    for (std::size_t start = 0;;) {
        const std::size_t end = path.find_first_of("/\\", start);
        const std::string_view part = path.substr(start, end == std::string_view::npos ? end : end - start);
        lastPart = part;
        if (!part.empty()) { // empty: a leading or doubled separator
            if (!IsPlainName(std::string(part)))
                return std::string();
            if (!relative.empty())
                relative += '/';
            relative += part;
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    // Nothing named, or a trailing separator: the address names a folder, not a file.
    if (relative.empty() || lastPart.empty())
        return std::string();
    return cacheFolder + relative;
}

std::string PictureFetchUrl(const std::string& pictureHost, const std::string& address)
{
    // Nothing that could end a header line or a request line reaches the transfer.
    for (const char c : address)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return std::string();
    std::string_view path;
    switch (Classify(address, path)) {
    case AddressKind::Absolute:
        return address;
    case AddressKind::Relative:
        // Without the '/', an address such as "@elsewhere/x.png" would change the host.
        if (!address.empty() && address.front() == '/')
            return pictureHost + address;
        return pictureHost + "/" + address;
    case AddressKind::Refused:
        break;
    }
    return std::string();
}

} // namespace ravelo
