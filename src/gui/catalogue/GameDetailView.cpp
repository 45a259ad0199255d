#include "gui/catalogue/GameDetailView.h"

#include <cmath>
#include <cstdlib>

namespace ravelo {

int StarWidth(const std::string& rating)
{
    static constexpr int kWidths[] = {9, 22, 32, 44, 55, 69, 78, 90, 100}; // rating 0.5, 1.0, ... 4.5
    if (rating.empty())
        return kStarsFullWidth;
    char* end = nullptr;
    const double value = std::strtod(rating.c_str(), &end);
    if (end == rating.c_str() || *end != '\0' || !std::isfinite(value) || value <= 0 || value > 100)
        return kStarsFullWidth;
    const int index = static_cast<int>(value * 10) - 5; // cut towards zero
    if (index < 0 || index > 40 || index % 5 != 0)
        return kStarsFullWidth;
    return kWidths[index / 5];
}

std::string StarImage(int width)
{
    const std::string w = std::to_string(width);
    return "file='skin\\ui\\level_foreimage.png' source='0,0," + w + ",18' dest='0,0," + w + ",18'";
}

std::string SizeText(const std::string& size)
{
    return size.empty() ? std::string() : size + "MB";
}

} // namespace ravelo
