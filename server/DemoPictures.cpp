#include "server/DemoPictures.h"

#include "server/DemoContent.h"
#include "server/PngCanvas.h"

#include <array>

namespace ravelo::server {

namespace {

constexpr std::array<Rgb, 8> s_palette{{
    {231, 76, 60},
    {230, 126, 34},
    {241, 196, 15},
    {46, 204, 113},
    {26, 188, 156},
    {52, 152, 219},
    {155, 89, 182},
    {52, 73, 94},
}};

const Rgb White{255, 255, 255};
const Rgb Shadow{30, 30, 40};

Rgb PaletteColour(int index)
{
    return s_palette[static_cast<std::size_t>(index) % s_palette.size()];
}

Rgb Darker(Rgb colour)
{
    return {static_cast<std::uint8_t>(colour.r * 3 / 5), static_cast<std::uint8_t>(colour.g * 3 / 5),
            static_cast<std::uint8_t>(colour.b * 3 / 5)};
}

Rgb Lighter(Rgb colour)
{
    return {static_cast<std::uint8_t>(colour.r + (255 - colour.r) / 2),
            static_cast<std::uint8_t>(colour.g + (255 - colour.g) / 2),
            static_cast<std::uint8_t>(colour.b + (255 - colour.b) / 2)};
}

/// The system's emblem, centred in a box of the given size.
void DrawEmblem(PngCanvas& canvas, int system, int cx, int cy, int size, Rgb colour)
{
    const int half = size / 2;
    switch (system % 5) {
    case 0:
        canvas.FillCircle(cx, cy, half, colour);
        break;
    case 1:
        canvas.FillTriangle(cx, cy - half, cx - half, cy + half, cx + half, cy + half, colour);
        break;
    case 2:
        canvas.FillRect(cx - half, cy - half, size, size, colour);
        break;
    case 3:
        canvas.FillTriangle(cx, cy - half, cx - half, cy, cx + half, cy, colour);
        canvas.FillTriangle(cx, cy + half, cx - half, cy, cx + half, cy, colour);
        break;
    default:
        canvas.FillRect(cx - half, cy - half / 3, size, half * 2 / 3, colour);
        canvas.FillRect(cx - half / 3, cy - half, half * 2 / 3, size, colour);
        break;
    }
}

} // namespace

std::string DrawGameIcon(const DemoGame& game)
{
    const Rgb base = PaletteColour(game.category);
    PngCanvas canvas(96, 96, base);
    canvas.Stripes(0, 0, 96, 96, 16, Lighter(base));
    canvas.FillRect(8, 8, 80, 80, Darker(base));
    DrawEmblem(canvas, game.system, 48, 44, 44, White);
    DemoRandom random(static_cast<std::uint64_t>(game.id));
    for (int dot = 0; dot < 3; ++dot)
        canvas.FillCircle(24 + dot * 24, 78, 4 + random.Between(0, 2), PaletteColour(game.id + dot));
    return canvas.EncodePng();
}

std::string DrawGameScreen(const DemoGame& game, int index)
{
    DemoRandom random(static_cast<std::uint64_t>(game.id) * 31 + static_cast<std::uint64_t>(index));
    const Rgb sky = PaletteColour(game.system + index);
    PngCanvas canvas(256, 192, sky);
    canvas.VerticalGradient(0, 150, Lighter(sky), sky);
    canvas.FillCircle(200 - index * 40, 36, 18, {250, 240, 200});
    const Rgb ground = PaletteColour(game.category + 3);
    canvas.FillRect(0, 150, 256, 42, Darker(ground));
    canvas.Stripes(0, 150, 256, 42, 12, ground);
    for (int block = 0; block < 4; ++block) {
        const int x = random.Between(0, 220);
        const int y = random.Between(70, 130);
        canvas.FillRect(x, y, 36, 10, Darker(PaletteColour(block + index)));
    }
    const int playerX = 30 + index * 60;
    canvas.FillRect(playerX, 126, 16, 24, Shadow);
    canvas.FillCircle(playerX + 8, 118, 8, White);
    DrawEmblem(canvas, game.system, 228, 170, 20, White);
    return canvas.EncodePng();
}

std::string DrawBanner(int width, int height, int seed)
{
    DemoRandom random(static_cast<std::uint64_t>(seed) * 104729);
    const Rgb base = PaletteColour(seed);
    PngCanvas canvas(width, height, base);
    canvas.VerticalGradient(0, height, Lighter(base), Darker(base));
    for (int shape = 0; shape < 6; ++shape) {
        const int size = random.Between(height / 5, height / 2);
        DrawEmblem(canvas, shape + seed, random.Between(size, width - size),
                   random.Between(size / 2, height - size / 2), size, PaletteColour(seed + shape + 1));
    }
    canvas.FillRect(0, height - height / 6, width, height / 6, Shadow);
    return canvas.EncodePng();
}

} // namespace ravelo::server
