#include "service/CacheTextCodec.h"

#include <array>
#include <cstdint>

namespace ravelo {
namespace {

constexpr char kTable[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890+=";

constexpr std::array<std::uint8_t, 256> MakeIndex()
{
    std::array<std::uint8_t, 256> index{};
    for (std::uint8_t i = 0; i < 64; ++i)
        index[static_cast<unsigned char>(kTable[i])] = i;
    return index;
}

constexpr std::array<std::uint8_t, 256> kIndex = MakeIndex();

} // namespace

std::string EncodeCacheText(const std::string& bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    const auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
    };
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
        text += kTable[group >> 18 & 63];
        text += kTable[group >> 12 & 63];
        text += kTable[group >> 6 & 63];
        text += kTable[group & 63];
    }
    const std::size_t left = bytes.size() - i;
    if (left == 1) {
        const std::uint32_t group = byte(i) << 16;
        text += kTable[group >> 18 & 63];
        text += kTable[group >> 12 & 63];
    } else if (left == 2) {
        const std::uint32_t group = byte(i) << 16 | byte(i + 1) << 8;
        text += kTable[group >> 18 & 63];
        text += kTable[group >> 12 & 63];
        text += kTable[group >> 6 & 63];
    }
    return text;
}

std::string DecodeCacheText(const std::string& text)
{
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3 + 2);
    const auto symbol = [&](std::size_t i) {
        return static_cast<std::uint32_t>(kIndex[static_cast<unsigned char>(text[i])]);
    };
    std::size_t i = 0;
    for (; i + 4 <= text.size(); i += 4) {
        const std::uint32_t group =
            symbol(i) << 18 | symbol(i + 1) << 12 | symbol(i + 2) << 6 | symbol(i + 3);
        bytes += static_cast<char>(group >> 16 & 0xFF);
        bytes += static_cast<char>(group >> 8 & 0xFF);
        bytes += static_cast<char>(group & 0xFF);
    }
    const std::size_t left = text.size() - i;
    if (left == 2) {
        const std::uint32_t group = symbol(i) << 18 | symbol(i + 1) << 12;
        bytes += static_cast<char>(group >> 16 & 0xFF);
    } else if (left == 3) {
        const std::uint32_t group = symbol(i) << 18 | symbol(i + 1) << 12 | symbol(i + 2) << 6;
        bytes += static_cast<char>(group >> 16 & 0xFF);
        bytes += static_cast<char>(group >> 8 & 0xFF);
    }
    return bytes;
}

} // namespace ravelo
