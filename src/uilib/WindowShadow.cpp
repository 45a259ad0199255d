#include "uilib/WindowShadow.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>

#if RAVELO_UILIB_HAS_XCB
#include <xcb/xcb.h>
#endif

namespace UiLib::WindowShadow {

namespace {

#if RAVELO_UILIB_HAS_XCB
bool X11Composited()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const QByteArray name = "_NET_WM_CM_S0";
    const xcb_intern_atom_cookie_t atomCookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.constData());
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(connection, atomCookie, nullptr);
    if (!atom)
        return false;
    const xcb_get_selection_owner_cookie_t ownerCookie = xcb_get_selection_owner(connection, atom->atom);
    free(atom);
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(connection, ownerCookie, nullptr);
    if (!owner)
        return false;
    const bool composited = owner->owner != XCB_NONE;
    free(owner);
    return composited;
}
#endif

// One corner-and-edge tile of the shadow: distance from the rounded content edge fades the colour out.
QImage MakeTile(int size, int radius, std::uint32_t argb)
{
    const int side = 2 * (size + radius) + 1;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QColor base = QColor::fromRgba(argb);
    const double inner = size + radius;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            // Distance from the rounded rectangle that starts size pixels in.
            const double dx = std::max(0.0, std::abs(x + 0.5 - side / 2.0) - (side / 2.0 - inner));
            const double dy = std::max(0.0, std::abs(y + 0.5 - side / 2.0) - (side / 2.0 - inner));
            const double distance = std::max(0.0, std::hypot(dx, dy) - radius);
            if (distance >= size)
                continue;
            const double t = 1.0 - distance / size;
            const int alpha = static_cast<int>(base.alpha() * t * t);
            QColor c = base;
            c.setAlpha(alpha);
            image.setPixelColor(x, y, c);
        }
    }
    return image;
}

} // namespace

bool IsSupported()
{
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true;
#if RAVELO_UILIB_HAS_XCB
    if (platform == QLatin1String("xcb"))
        return X11Composited();
#endif
    return false;
}

void Paint(QPainter& painter, const QRect& content, int size, QSize round, std::uint32_t argb)
{
    if (size <= 0)
        return;
    const int radius = qMax(0, qMin(round.width(), round.height()) / 2);
    static QImage cached;
    static int cachedSize = -1;
    static int cachedRadius = -1;
    static std::uint32_t cachedColor = 0;
    if (size != cachedSize || radius != cachedRadius || argb != cachedColor) {
        cached = MakeTile(size, radius, argb);
        cachedSize = size;
        cachedRadius = radius;
        cachedColor = argb;
    }
    const int c = size + radius; // corner piece size
    const QRect outer = content.adjusted(-size, -size, size, size);
    const int side = cached.width();
    const int mid = side - 2 * c;
    auto piece = [&](const QRect& target, const QRect& source) {
        if (!target.isEmpty())
            painter.drawImage(target, cached, source);
    };
    const int innerW = outer.width() - 2 * c;
    const int innerH = outer.height() - 2 * c;
    piece(QRect(outer.left(), outer.top(), c, c), QRect(0, 0, c, c));
    piece(QRect(outer.right() - c + 1, outer.top(), c, c), QRect(side - c, 0, c, c));
    piece(QRect(outer.left(), outer.bottom() - c + 1, c, c), QRect(0, side - c, c, c));
    piece(QRect(outer.right() - c + 1, outer.bottom() - c + 1, c, c), QRect(side - c, side - c, c, c));
    if (innerW > 0) {
        piece(QRect(outer.left() + c, outer.top(), innerW, size), QRect(c, 0, mid, size));
        piece(QRect(outer.left() + c, outer.bottom() - size + 1, innerW, size),
              QRect(c, side - size, mid, size));
    }
    if (innerH > 0) {
        piece(QRect(outer.left(), outer.top() + c, size, innerH), QRect(0, c, size, mid));
        piece(QRect(outer.right() - size + 1, outer.top() + c, size, innerH),
              QRect(side - size, c, size, mid));
    }
}

} // namespace UiLib::WindowShadow
