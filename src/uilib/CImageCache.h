#pragma once

#include "uilib/CRenderEngine.h"

#include <QHash>
#include <QPixmap>
#include <QString>

namespace UiLib {

/// A window's pictures by the names its layout and code use ("skin\ui\x.png" or a file path), and
/// the parsed image descriptions that point at them. A picture that cannot be read is not cached, so
/// it is tried again when asked for again. UI thread only (pixmaps).
class CImageCache
{
public:
    /// Loads a picture by skin name or file path; null when it cannot be read.
    static QPixmap LoadImage(const QString& file);

    /// The cached picture, or null when it was never loaded.
    QPixmap GetImage(const QString& file) const;
    /// The cached picture, loading it first when needed; null when it cannot be loaded.
    QPixmap GetImageEx(const QString& file);
    /// Loads (again) and caches a picture; null when it cannot be loaded.
    QPixmap AddImage(const QString& file);
    bool RemoveImage(const QString& file);
    void RemoveAllImages();
    int GetImageCount() const { return static_cast<int>(m_images.size()); }
    /// The parsed description; descriptions are kept up to a bound, since some are built from data.
    TDrawInfo GetDrawInfo(const QString& description);

private:
    QHash<QString, QPixmap> m_images;
    QHash<QString, TDrawInfo> m_drawInfos;
};

} // namespace UiLib
