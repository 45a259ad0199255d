#include "server/ByteRange.h"

#include <limits>

namespace ravelo::server {

namespace {

constexpr std::int64_t Huge = std::numeric_limits<std::int64_t>::max();

/// Digits only; a value too large for 64 bits becomes Huge (it lies past any file anyway).
bool ReadNumber(const std::string& text, std::int64_t& value)
{
    if (text.empty())
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        const int digit = c - '0';
        value = value > (Huge - digit) / 10 ? Huge : value * 10 + digit;
    }
    return true;
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

ByteRange ByteRange::Parse(const std::string& header, std::int64_t size)
{
    ByteRange whole;
    const std::string value = Trimmed(header);
    if (value.compare(0, 6, "bytes=") != 0)
        return whole;
    const std::string spec = Trimmed(value.substr(6));
    if (spec.find(',') != std::string::npos)
        return whole; // several ranges: the whole file is a valid answer and all our clients need
    const auto dash = spec.find('-');
    if (dash == std::string::npos)
        return whole;
    const std::string first = Trimmed(spec.substr(0, dash));
    const std::string last = Trimmed(spec.substr(dash + 1));

    ByteRange range;
    range.kind = Kind::Part;
    if (first.empty()) {
        std::int64_t suffix = 0;
        if (!ReadNumber(last, suffix))
            return whole;
        if (suffix == 0 || size == 0)
            return {Kind::Unsatisfiable, 0, 0};
        range.length = suffix < size ? suffix : size;
        range.start = size - range.length;
        return range;
    }
    std::int64_t start = 0;
    if (!ReadNumber(first, start))
        return whole;
    std::int64_t end = size - 1;
    if (!last.empty()) {
        if (!ReadNumber(last, end))
            return whole;
        if (end < start)
            return whole; // a backwards range is not a range at all
    }
    if (start >= size)
        return {Kind::Unsatisfiable, 0, 0};
    if (end >= size)
        end = size - 1;
    range.start = start;
    range.length = end - start + 1;
    return range;
}

} // namespace ravelo::server
