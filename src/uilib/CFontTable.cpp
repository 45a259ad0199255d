#include "uilib/CFontTable.h"

namespace UiLib {

const QFont& CFontTable::DefaultFont()
{
    static const QFont font = [] {
        QFont f;
        f.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                       QStringLiteral("sans-serif")});
        f.setPixelSize(13);
        return f;
    }();
    return font;
}

void CFontTable::AddFont(int id, const QString& family, int pixelSize, bool bold, bool underline, bool italic,
                         bool isDefault)
{
    QFont font = DefaultFont();
    if (!family.isEmpty())
        font.setFamilies({family, QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("sans-serif")});
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setUnderline(underline);
    font.setItalic(italic);
    m_fonts[id] = font;
    m_fontMetrics.erase(id);
    if (isDefault)
        m_nDefaultFont = id;
    if (id == m_nDefaultFont)
        m_fontMetrics.erase(-1); // unknown indexes measure the default font
}

const QFont& CFontTable::GetFont(int id) const
{
    auto it = m_fonts.find(id);
    if (it != m_fonts.end())
        return it->second;
    it = m_fonts.find(m_nDefaultFont);
    return it != m_fonts.end() ? it->second : DefaultFont();
}

const QFontMetrics& CFontTable::GetFontMetrics(int id) const
{
    const int key = m_fonts.count(id) ? id : -1;
    auto it = m_fontMetrics.find(key);
    if (it == m_fontMetrics.end())
        it = m_fontMetrics.emplace(key, std::make_unique<QFontMetrics>(GetFont(key))).first;
    return *it->second;
}

} // namespace UiLib
