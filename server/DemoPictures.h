#pragma once

#include "server/DemoGames.h"

#include <string>

namespace ravelo::server {

// Pictures of the demo catalogue, drawn from simple shapes; each returns PNG file bytes and is the
// same for the same arguments.

/// 96 x 96: a tile in the colour of the game's type with the shape of its system.
std::string DrawGameIcon(const DemoGame& game);
/// 256 x 192: a scene of sky, ground, platforms and a player; index 1 to 3.
std::string DrawGameScreen(const DemoGame& game, int index);
/// A banner of the given size with a band of shapes; seed picks colours and layout.
std::string DrawBanner(int width, int height, int seed);

} // namespace ravelo::server
