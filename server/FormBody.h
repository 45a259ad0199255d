#pragma once

#include <map>
#include <optional>
#include <string>

namespace ravelo::server {

/// The fields of a URL-encoded request body ("model=appstore&action=gamelist&..."), decoded.
class FormBody
{
public:
    /// Decodes a body: fields split at '&', names from values at the first '=', '+' read as a space
    /// and "%XX" as the byte XX. Returns nothing when the body is malformed: a broken "%" escape, a
    /// control byte or text that is not UTF-8 after decoding, an empty name, or a name given twice
    /// (refused rather than guessing which of the two values was meant).
    static std::optional<FormBody> Parse(const std::string& body);

    bool Has(const std::string& name) const { return m_fields.count(name) != 0; }
    /// The decoded value, or the fallback when the field is missing.
    std::string Get(const std::string& name, const std::string& fallback = std::string()) const;

    /// Every field, decoded, by name.
    const std::map<std::string, std::string>& Fields() const { return m_fields; }

    /// Decodes one "%XX" and "+" encoded text; nothing when an escape is broken.
    static std::optional<std::string> Decode(const std::string& text);
    /// Encodes as the client does: letters, digits and "-_.~" stay, a space becomes "+", every other
    /// byte "%XX" with upper-case hexadecimal digits.
    static std::string Encode(const std::string& text);

private:
    std::map<std::string, std::string> m_fields;
};

} // namespace ravelo::server
