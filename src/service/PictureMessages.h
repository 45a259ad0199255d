#pragma once

#include "platform/Messages.h"

#include <cstdint>
#include <string>

namespace ravelo {

/// Posted by the picture queue to a window that asked for a picture. wParam 0; payload PictureResult,
/// which the window owns.
constexpr std::uint32_t UM_PICTURE_READY = WM_USER + 1000;

/// What a control shows when its picture cannot be had, as the skin names it.
inline constexpr const char* kDefaultGameIcon = "skin\\ui\\DefaultGameIcon.png";

/// One answer to one request. A window keeps the id each control waits for and drops results whose
/// id is no longer that one.
struct PictureResult
{
    std::uint64_t requestId = 0;
    std::string localPath; // the cached file, or kDefaultGameIcon when failed
    bool failed = false;
};

} // namespace ravelo
