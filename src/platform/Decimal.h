#pragma once

#include <string>

namespace ravelo {

/// Leading blanks, an optional sign and decimal digits, like atoi; anything else reads as 0, and a
/// value out of range saturates at INT_MIN or INT_MAX instead of overflowing.
int ParseDecimal(const std::string& text);

} // namespace ravelo
