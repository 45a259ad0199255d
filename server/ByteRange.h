#pragma once

#include <cstdint>
#include <string>

namespace ravelo::server {

/// The part of a file a request's Range header asks for.
struct ByteRange
{
    enum class Kind
    {
        Whole,        ///< no Range header, or one we ignore (several ranges, another unit, bad syntax)
        Part,         ///< bytes [start, start + length)
        Unsatisfiable ///< the range lies past the end of the file
    };

    Kind kind = Kind::Whole;
    std::int64_t start = 0;
    std::int64_t length = 0;

    /// Reads a header value ("bytes=0-99", "bytes=100-", "bytes=-50") against a file of `size`
    /// bytes. An end past the file is cut to the file; a suffix longer than the file is the whole
    /// file (as a Part). Never fails: what it cannot read it ignores.
    static ByteRange Parse(const std::string& header, std::int64_t size);
};

} // namespace ravelo::server
