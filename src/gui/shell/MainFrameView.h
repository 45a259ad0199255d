#pragma once

#include <string>

namespace ravelo {

/// "下载中心   2": a title-bar button's label followed by three spaces and the count when it is above
/// 0, else the label alone.
std::string CountButtonText(const char* label, int count);

/// Whether a search box's text starts a search (not empty, not only blanks).
bool IsSearchText(const std::string& text);

} // namespace ravelo
