#pragma once

#include <optional>
#include <string>

namespace ravelo {

/// Any thread. Whether the desktop has a top-level window whose title is exactly title (UTF-8),
/// shown or not. None when there is no desktop to ask (no X display), so callers can tell "no such
/// window" from "cannot know".
std::optional<bool> TopLevelWindowExists(const std::string& title);

} // namespace ravelo
