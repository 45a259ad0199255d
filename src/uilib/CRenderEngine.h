#pragma once

#include <QMargins>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <cstdint>

class QPainter;

namespace UiLib {

class CPaintManagerUI;

/// A parsed image description: "file.png" alone, or "file='x.png' source='l,t,r,b' dest='l,t,r,b'
/// corner='l,t,r,b' fade='200' hole='false' xtiled='false' ytiled='false'". Source and dest are
/// corner pairs like every rectangle of the layouts; dest is relative to the control.
struct TDrawInfo
{
    QString file;
    QRect source; ///< empty: the whole picture
    QRect dest;   ///< empty: the whole control
    QMargins corner;
    int fade = 255;
    bool hole = false;
    bool xtiled = false;
    bool ytiled = false;
};

/// Painting primitives shared by all controls. UI thread only (pixmaps and fonts).
class CRenderEngine
{
public:
    /// Parses a description; modify (same syntax, may be empty) overrides its values.
    static TDrawInfo ParseImageString(const QString& description, const QString& modify = {});

    /// Draws an image description inside item, limited to paint. The picture comes from the manager's
    /// image cache (loaded on first use). False when the picture cannot be loaded, so that callers
    /// forget a description that will never draw.
    static bool DrawImageString(QPainter& painter, CPaintManagerUI* manager, const QRect& item,
                                const QRect& paint, const QString& description, const QString& modify = {});

    /// Draws part of a picture into dest with nine-slice corners, fading and tiling.
    static void DrawImage(QPainter& painter, const QPixmap& pixmap, const QRect& dest, const QRect& source,
                          const QMargins& corner, int fade, bool hole, bool xtiled, bool ytiled);

    static void DrawColor(QPainter& painter, const QRect& rect, std::uint32_t argb);
    static void DrawRoundColor(QPainter& painter, const QRect& rect, QSize round, std::uint32_t argb);
    /// A border of the given widths drawn inside rect.
    static void DrawBorder(QPainter& painter, const QRect& rect, const QMargins& widths, std::uint32_t argb);
    static void DrawRoundBorder(QPainter& painter, const QRect& rect, int width, QSize round,
                                std::uint32_t argb);
    /// Plain text in a rectangle with the DT_ style bits (alignment, single line, word break, ellipsis).
    static void DrawText(QPainter& painter, CPaintManagerUI* manager, const QRect& rect, const QString& text,
                         std::uint32_t argb, int font, unsigned style);
    /// The size text takes in the font; with a positive width and DT_WORDBREAK it wraps.
    static QSize MeasureText(CPaintManagerUI* manager, const QString& text, int font, unsigned style,
                             int width = 0);
};

} // namespace UiLib
