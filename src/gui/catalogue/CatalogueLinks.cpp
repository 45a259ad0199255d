#include "gui/catalogue/CatalogueLinks.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace ravelo {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

bool IsWebAddress(const std::string& address)
{
    std::size_t hostStart = 0;
    if (StartsWithNoCase(address, "http://"))
        hostStart = 7;
    else if (StartsWithNoCase(address, "https://"))
        hostStart = 8;
    else
        return false;
    if (address.size() <= hostStart || address[hostStart] == '/' || address.size() > 2048)
        return false;
    return std::none_of(address.begin(), address.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F || c == '\\' || c == '"';
    });
}

bool IsPlainGameId(const std::string& id)
{
    return !id.empty() && id.size() <= 32 && std::all_of(id.begin(), id.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
    });
}

LinkAction BannerActionFor(const std::string& action, const std::string& target)
{
    if (action == "url" || action == "new_url")
        return IsWebAddress(target) ? LinkAction::OpenAddress : LinkAction::None;
    if (action == "game")
        return IsPlainGameId(target) ? LinkAction::OpenGame : LinkAction::None;
    return LinkAction::None;
}

int TopicNumber(const std::string& id)
{
    int value = 0;
    const char* begin = id.data();
    const char* end = id.data() + id.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || begin == end)
        return 0;
    return value;
}

} // namespace ravelo
