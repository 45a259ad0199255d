#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

#include <cstdint>

class QPainter;

namespace UiLib::WindowShadow {

/// True when the platform composites translucent windows (Wayland, or X11 with a compositing
/// manager), so a window may draw its own drop shadow. UI thread.
bool IsSupported();

/// Paints a soft shadow of the given size around content (the window's client area).
void Paint(QPainter& painter, const QRect& content, int size, QSize round, std::uint32_t argb);

} // namespace UiLib::WindowShadow
