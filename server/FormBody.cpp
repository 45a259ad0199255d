#include "server/FormBody.h"

#include "platform/TextConvert.h"

namespace ravelo::server {

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool HasControlByte(const std::string& text)
{
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F)
            return true;
    }
    return false;
}

} // namespace

std::optional<std::string> FormBody::Decode(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%') {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::string FormBody::Encode(const std::string& text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
            c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

std::optional<FormBody> FormBody::Parse(const std::string& body)
{
    FormBody form;
    std::size_t start = 0;
    while (start <= body.size()) {
        std::size_t end = body.find('&', start);
        if (end == std::string::npos)
            end = body.size();
        const std::string field = body.substr(start, end - start);
        start = end + 1;
        if (field.empty())
            continue; // "a=1&&b=2" and a trailing '&' carry no field
        const std::size_t equals = field.find('=');
        auto name = Decode(field.substr(0, equals));
        auto value = Decode(equals == std::string::npos ? std::string() : field.substr(equals + 1));
        if (!name || !value || name->empty())
            return std::nullopt;
        if (HasControlByte(*name) || HasControlByte(*value) || !IsValidUtf8(*name) || !IsValidUtf8(*value))
            return std::nullopt;
        if (!form.m_fields.emplace(std::move(*name), std::move(*value)).second)
            return std::nullopt;
    }
    return form;
}

std::string FormBody::Get(const std::string& name, const std::string& fallback) const
{
    const auto found = m_fields.find(name);
    return found == m_fields.end() ? fallback : found->second;
}

} // namespace ravelo::server
