#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ravelo::server {

/// An RGB colour.
struct Rgb
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

/// A small RGB drawing surface that encodes itself as a PNG file (8-bit truecolour, zlib through
/// zlib's compress2). Shapes are clipped to the canvas. Single-threaded; no failure except memory.
class PngCanvas
{
public:
    PngCanvas(int width, int height, Rgb background);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgb Pixel(int x, int y) const;

    void FillRect(int x, int y, int width, int height, Rgb colour);
    void FillCircle(int centreX, int centreY, int radius, Rgb colour);
    /// A triangle given by three corners (filled by the half-plane test).
    void FillTriangle(int x0, int y0, int x1, int y1, int x2, int y2, Rgb colour);
    /// Top-to-bottom blend from one colour to another over a band of rows.
    void VerticalGradient(int y, int height, Rgb top, Rgb bottom);
    /// Diagonal stripes of the given period across a rectangle.
    void Stripes(int x, int y, int width, int height, int period, Rgb colour);

    /// The PNG file bytes.
    std::string EncodePng() const;

private:
    void Put(int x, int y, Rgb colour);

    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_pixels;
};

} // namespace ravelo::server
