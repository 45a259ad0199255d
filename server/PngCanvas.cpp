#include "server/PngCanvas.h"

#include <zlib.h>

#include <algorithm>

namespace ravelo::server {

namespace {

void AppendBigEndian(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value >> 24);
    out += static_cast<char>(value >> 16);
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value);
}

void AppendChunk(std::string& out, const char* type, const std::string& data)
{
    AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    const auto crc = crc32(0L, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()));
    AppendBigEndian(out, static_cast<std::uint32_t>(crc));
}

long Edge(int ax, int ay, int bx, int by, int px, int py)
{
    return static_cast<long>(bx - ax) * (py - ay) - static_cast<long>(by - ay) * (px - ax);
}

} // namespace

PngCanvas::PngCanvas(int width, int height, Rgb background)
    : m_width(std::max(1, width)), m_height(std::max(1, height)),
      m_pixels(static_cast<std::size_t>(m_width) * m_height * 3)
{
    FillRect(0, 0, m_width, m_height, background);
}

Rgb PngCanvas::Pixel(int x, int y) const
{
    const std::size_t at = (static_cast<std::size_t>(y) * m_width + x) * 3;
    return {m_pixels[at], m_pixels[at + 1], m_pixels[at + 2]};
}

void PngCanvas::Put(int x, int y, Rgb colour)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    const std::size_t at = (static_cast<std::size_t>(y) * m_width + x) * 3;
    m_pixels[at] = colour.r;
    m_pixels[at + 1] = colour.g;
    m_pixels[at + 2] = colour.b;
}

void PngCanvas::FillRect(int x, int y, int width, int height, Rgb colour)
{
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(m_width, x + width), y1 = std::min(m_height, y + height);
    for (int row = y0; row < y1; ++row) {
        for (int column = x0; column < x1; ++column)
            Put(column, row, colour);
    }
}

void PngCanvas::FillCircle(int centreX, int centreY, int radius, Rgb colour)
{
    for (int row = centreY - radius; row <= centreY + radius; ++row) {
        for (int column = centreX - radius; column <= centreX + radius; ++column) {
            const int dx = column - centreX, dy = row - centreY;
            if (dx * dx + dy * dy <= radius * radius)
                Put(column, row, colour);
        }
    }
}

void PngCanvas::FillTriangle(int x0, int y0, int x1, int y1, int x2, int y2, Rgb colour)
{
    const int left = std::max(0, std::min({x0, x1, x2})),
              right = std::min(m_width - 1, std::max({x0, x1, x2}));
    const int top = std::max(0, std::min({y0, y1, y2})),
              bottom = std::min(m_height - 1, std::max({y0, y1, y2}));
    const long area = Edge(x0, y0, x1, y1, x2, y2);
    if (area == 0)
        return;
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            const long a = Edge(x1, y1, x2, y2, column, row);
            const long b = Edge(x2, y2, x0, y0, column, row);
            const long c = Edge(x0, y0, x1, y1, column, row);
            const bool inside = area > 0 ? (a >= 0 && b >= 0 && c >= 0) : (a <= 0 && b <= 0 && c <= 0);
            if (inside)
                Put(column, row, colour);
        }
    }
}

void PngCanvas::VerticalGradient(int y, int height, Rgb top, Rgb bottom)
{
    for (int row = 0; row < height; ++row) {
        const int weight = height > 1 ? row * 255 / (height - 1) : 0;
        auto mix = [weight](std::uint8_t a, std::uint8_t b) {
            return static_cast<std::uint8_t>((a * (255 - weight) + b * weight) / 255);
        };
        FillRect(0, y + row, m_width, 1, {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b)});
    }
}

void PngCanvas::Stripes(int x, int y, int width, int height, int period, Rgb colour)
{
    period = std::max(2, period);
    for (int row = y; row < y + height; ++row) {
        for (int column = x; column < x + width; ++column) {
            if ((column + row) % period < period / 2)
                Put(column, row, colour);
        }
    }
}

std::string PngCanvas::EncodePng() const
{
    std::string raw;
    raw.reserve(static_cast<std::size_t>(m_height) * (m_width * 3 + 1));
    for (int row = 0; row < m_height; ++row) {
        raw += '\0'; // filter type 0: the row as it is
        raw.append(reinterpret_cast<const char*>(&m_pixels[static_cast<std::size_t>(row) * m_width * 3]),
                   static_cast<std::size_t>(m_width) * 3);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
              reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
              Z_DEFAULT_COMPRESSION);
    packed.resize(packedSize);

    std::string header;
    AppendBigEndian(header, static_cast<std::uint32_t>(m_width));
    AppendBigEndian(header, static_cast<std::uint32_t>(m_height));
    header += '\x08'; // bit depth
    header += '\x02'; // colour type: truecolour
    header += '\0';   // compression
    header += '\0';   // filter method
    header += '\0';   // no interlace

    std::string png("\x89PNG\r\n\x1a\n", 8);
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", packed);
    AppendChunk(png, "IEND", std::string());
    return png;
}

} // namespace ravelo::server
