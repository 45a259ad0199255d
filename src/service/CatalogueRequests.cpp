#include "service/CatalogueRequests.h"

#include "platform/TextConvert.h"

#include <cstdio>

namespace ravelo {
namespace {

bool IsUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '~';
}

bool IsHexDigit(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::string Printf(const char* format, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Envelope(const char* action)
{
    return std::string("model=appstore&action=") + action + "&clientparams=" + kClientParams;
}

std::string PageParams(int page, int pageSize)
{
    return "&page=" + std::to_string(page) + "&pagesize=" + std::to_string(pageSize);
}

} // namespace

std::string FormatFilterId(int value)
{
    return value == 0 ? " " : Printf("%03d", value);
}

std::string FormatTopicId(int value)
{
    return Printf("%03d", value);
}

std::string FormatLanguage(int value)
{
    return value == 0 ? " " : std::to_string(value);
}

std::string OrderByCode(int order)
{
    switch (order) {
    case 0:
        return "recommend";
    case 1:
        return "new";
    case 2:
        return "hot";
    default:
        return "";
    }
}

std::string PercentEncode(const std::string& bytes)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c)) {
            out += ch;
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

bool IsPercentEncoded(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsUnreserved(c) || c == '+')
            continue;
        if (c != '%' || i + 2 >= text.size() || !IsHexDigit(text[i + 1]) || !IsHexDigit(text[i + 2]))
            return false;
        i += 2;
    }
    return true;
}

std::string GameListBody(int page, int pageSize, int category, int emulator, int order, int language)
{
    return Envelope("gamelist") + PageParams(page, pageSize) + "&categoryid=" + FormatFilterId(category) +
           "&emulatorid=" + FormatFilterId(emulator) + "&orderby=" + OrderByCode(order) +
           "&language=" + FormatLanguage(language);
}

std::string SearchBody(int page, int pageSize, int category, int emulator, const std::string& keyword,
                       int order, int language)
{
    return Envelope("gamelist") + PageParams(page, pageSize) + "&categoryid=" + FormatFilterId(category) +
           "&emulatorid=" + FormatFilterId(emulator) + "&keyword=" + PercentEncode(AnsiToUtf8(keyword)) +
           "&orderby=" + OrderByCode(order) + "&language=" + FormatLanguage(language);
}

std::string SpecialTopicBody(int page, int pageSize, int topic)
{
    return Envelope("specialinfo") + PageParams(page, pageSize) + "&id=" + FormatTopicId(topic) +
           "&orderby=" + OrderByCode(0);
}

std::string HomePageBody()
{
    return Envelope("pc_index");
}

std::string GameDetailBody(const std::string& gameid)
{
    return Envelope("gameinfo") + "&gameid=" + PercentEncode(gameid);
}

std::string RegisterBody(long password)
{
    return "model=user&action=register&password=" + std::to_string(password);
}

std::string DownFileBody(const std::string& uid, const std::string& ticket, const std::string& gameid)
{
    return "model=user&action=downfile&uid=" + PercentEncode(uid) +
           "&ticket=" + (IsPercentEncoded(ticket) ? ticket : PercentEncode(ticket)) +
           "&gameid=" + PercentEncode(gameid);
}

} // namespace ravelo
