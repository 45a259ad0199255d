#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <unordered_map>

namespace UiLib {

/// A window's fonts by the index of its layout's Font table, with their metrics measured once. An
/// unknown index (and -1) is the table's default font, else the library's. UI thread only.
class CFontTable
{
public:
    /// The font used where a layout declares none: WenQuanYi Micro Hei, 13 pixels.
    static const QFont& DefaultFont();

    /// Adds or replaces a font; isDefault makes it the font of unknown indexes.
    void AddFont(int id, const QString& family, int pixelSize, bool bold, bool underline, bool italic,
                 bool isDefault);
    const QFont& GetFont(int id) const;
    const QFontMetrics& GetFontMetrics(int id) const;
    int GetDefaultFontId() const { return m_nDefaultFont; }

private:
    std::map<int, QFont> m_fonts;
    mutable std::unordered_map<int, std::unique_ptr<QFontMetrics>> m_fontMetrics;
    int m_nDefaultFont = -1;
};

} // namespace UiLib
