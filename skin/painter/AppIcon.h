#pragma once

#include <QByteArray>
#include <QImage>

/// The program's icon: a bold "R" with a play triangle in its bowl on the accent square. One drawing
/// gives the skin's logo, the desktop's raster icons and the scalable one, so they always agree.
QImage PaintAppIcon(int side);

/// The same drawing as an SVG document (the hicolor "scalable" icon).
QByteArray AppIconSvg();
