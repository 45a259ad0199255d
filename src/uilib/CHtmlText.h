#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTextDocument>

#include <cstdint>

class QPainter;

namespace UiLib {

class CPaintManagerUI;

/// Text in the layouts' small markup ("showhtml"): <b>, <i>, <u>, <s>, <f n> (font of the window's
/// table), <c #AARRGGBB> (colour), <a target> (link; without a target the link's text is its target),
/// <n> (line break), <p> (paragraph),
/// <x n> (n pixels of space); "{" and "}" may stand for "<" and ">". Unknown tags are dropped and
/// text is never interpreted as anything else, so data shown through it cannot inject markup
/// beyond these tags. UI thread only.
class CHtmlText
{
public:
    /// Rebuilds the document when the markup, fonts or width changed. With plain, the text is shown
    /// as it is (line breaks kept) and web addresses in it become links.
    void Update(CPaintManagerUI* manager, const QString& markup, int font, int width, bool wrap,
                bool plain = false);
    /// Draws inside rect with the DT_ alignment bits; hotLink is drawn in the hover colour.
    void Draw(QPainter& painter, const QRect& rect, std::uint32_t color, unsigned style, int hotLink);
    /// The link under a point of the last drawn rectangle, or -1.
    int LinkAt(QPoint point) const;
    QStringList Links() const { return m_links; }
    QSize Size() const;
    /// The markup turned into a Qt rich-text document (exposed for tests).
    static QString ToQtHtml(CPaintManagerUI* manager, const QString& markup, QStringList& links);
    /// Plain text turned into a document with its web addresses as links.
    static QString PlainToQtHtml(const QString& text, QStringList& links);

private:
    QTextDocument m_document;
    QString m_markup;
    int m_font = -2;
    int m_width = -1;
    bool m_wrap = false;
    bool m_plain = false;
    CPaintManagerUI* m_manager = nullptr;
    QStringList m_links;
    QRect m_lastRect;
    QPoint m_lastOrigin;
    std::uint32_t m_linkColor = 0;
    std::uint32_t m_linkHoverColor = 0;
};

} // namespace UiLib
