#pragma once

#include <string>
#include <string_view>

namespace ravelo {

/// Whether bytes begin like a picture the windows can show: PNG, JPEG, GIF, BMP, ICO or WebP. Looks at
/// the signature only; a full decode is the windows' own check.
bool HasPictureSignature(std::string_view head);

/// The same for the first bytes of a file; false when it cannot be read.
bool IsPictureFile(const std::string& path);

} // namespace ravelo
