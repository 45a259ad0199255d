#pragma once

#include <string>

namespace ravelo {

/// Any thread. Whether the file decodes as a picture the windows can show (Qt's readers), and is of
/// a sane size (at most 8192 pixels a side): the picture queue's check before a download enters the
/// cache.
bool IsDecodablePicture(const std::string& path);

} // namespace ravelo
