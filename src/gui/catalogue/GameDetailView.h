#pragma once

#include <string>

namespace ravelo {

/// Full width of the five-star picture, and its height.
constexpr int kStarsFullWidth = 109;
constexpr int kStarsHeight = 18;

/// How many pixels of the lit stars the detail window shows for a rating: the half steps 0.5 to 4.5
/// have their own widths (0.5 → 9, 3.5 → 78, 4.5 → 100); every other value, 5.0, values between the
/// half steps, 0 and below and text that is not a number shows all 109.
int StarWidth(const std::string& rating);

/// The foreground image description of the rating control for a star width.
std::string StarImage(int width);

/// "120MB" for a size of "120"; empty when the size is empty.
std::string SizeText(const std::string& size);

/// The detail window shows at most this many screenshots.
constexpr int kMaxScreenshots = 8;

} // namespace ravelo
