#include "uilib/CHtmlText.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/UiDefines.h"
#include "uilib/UiParse.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>

#include <vector>

namespace UiLib {

namespace {

QString ColorCss(std::uint32_t argb)
{
    const QColor color = QColor::fromRgba(argb);
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(QString::number(color.alphaF(), 'f', 3));
}

QString FontCss(const QFont& font)
{
    QString css = QStringLiteral("font-family:'%1'; font-size:%2px;")
                      .arg(font.family().toHtmlEscaped())
                      .arg(font.pixelSize() > 0 ? font.pixelSize() : 13);
    if (font.bold())
        css += QStringLiteral(" font-weight:bold;");
    if (font.italic())
        css += QStringLiteral(" font-style:italic;");
    if (font.underline())
        css += QStringLiteral(" text-decoration:underline;");
    return css;
}

const QString kLinkScheme = QStringLiteral("uilink:");

} // namespace

QString CHtmlText::ToQtHtml(CPaintManagerUI* manager, const QString& markup, QStringList& links)
{
    links.clear();
    QString out;
    QString text;
    std::vector<QString> closers; // what each open tag needs to close, by tag letter
    std::vector<QChar> openTags;
    int openLink = -1; // a link without a target takes its own text as the target
    QString linkText;
    auto flushText = [&] {
        if (openLink >= 0)
            linkText += text;
        out += text.toHtmlEscaped();
        text.clear();
    };
    auto endLink = [&] {
        if (openLink >= 0 && links[openLink].isEmpty())
            links[openLink] = linkText.trimmed();
        openLink = -1;
        linkText.clear();
    };
    auto closeTag = [&](QChar letter) {
        for (int i = static_cast<int>(openTags.size()) - 1; i >= 0; --i) {
            if (openTags[static_cast<std::size_t>(i)] != letter)
                continue;
            // Close everything above it as well, innermost first.
            while (static_cast<int>(openTags.size()) > i) {
                out += closers.back();
                closers.pop_back();
                openTags.pop_back();
            }
            return;
        }
    };

    const qsizetype n = markup.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = markup[i];
        if (c != u'<' && c != u'{') {
            text += c;
            continue;
        }
        const QChar endChar = c == u'<' ? u'>' : u'}';
        const qsizetype end = markup.indexOf(endChar, i + 1);
        if (end < 0) {
            text += c;
            continue;
        }
        const QString tag = markup.mid(i + 1, end - i - 1).trimmed();
        if (tag.isEmpty()) {
            text += c;
            continue;
        }
        flushText();
        i = end;
        const bool closing = tag.startsWith(u'/');
        const QString body = closing ? tag.mid(1).trimmed() : tag;
        const QChar letter = body.isEmpty() ? QChar() : body[0].toLower();
        const QString argument = body.mid(1).trimmed();
        if (closing) {
            if (letter == u'a')
                endLink();
            closeTag(letter);
            continue;
        }
        switch (letter.unicode()) {
        case u'b':
            out += QStringLiteral("<b>");
            openTags.push_back(letter);
            closers.push_back(QStringLiteral("</b>"));
            break;
        case u'i':
            out += QStringLiteral("<i>");
            openTags.push_back(letter);
            closers.push_back(QStringLiteral("</i>"));
            break;
        case u'u':
            out += QStringLiteral("<u>");
            openTags.push_back(letter);
            closers.push_back(QStringLiteral("</u>"));
            break;
        case u's':
            out += QStringLiteral("<s>");
            openTags.push_back(letter);
            closers.push_back(QStringLiteral("</s>"));
            break;
        case u'f': {
            const QFont& font =
                manager ? manager->GetFont(Parse::Int(argument, -1)) : CPaintManagerUI::DefaultFont();
            out += QStringLiteral("<span style=\"%1\">").arg(FontCss(font));
            openTags.push_back(letter);
            closers.push_back(QStringLiteral("</span>"));
            break;
        }
        case u'c':
            out += QStringLiteral("<span style=\"color:%1\">").arg(ColorCss(Parse::Color(argument)));
            openTags.push_back(letter);
            closers.push_back(QStringLiteral("</span>"));
            break;
        case u'a':
            endLink();
            links.append(argument);
            openLink = static_cast<int>(links.size() - 1);
            out += QStringLiteral("<a href=\"%1%2\">").arg(kLinkScheme).arg(links.size() - 1);
            openTags.push_back(letter);
            closers.push_back(QStringLiteral("</a>"));
            break;
        case u'n':
            out += QStringLiteral("<br/>");
            break;
        case u'p':
            out += QStringLiteral("<br/><br/>");
            break;
        case u'x': {
            const int spaces = qBound(0, Parse::Int(argument) / 4, 64);
            out += QString(QStringLiteral("&nbsp;")).repeated(spaces);
            break;
        }
        default:
            break; // unknown tags are dropped
        }
    }
    flushText();
    endLink();
    while (!closers.empty()) {
        out += closers.back();
        closers.pop_back();
    }
    return out;
}

QString CHtmlText::PlainToQtHtml(const QString& text, QStringList& links)
{
    links.clear();
    // An address ends before trailing punctuation, which belongs to the sentence around it.
    static const QRegularExpression address(QStringLiteral(
        "https?://[^\\s<>\"'\u3000-\u303F\uFF00-\uFFEF]*[^\\s<>\"'.,;:!?)\u3000-\u303F\uFF00-\uFFEF]"));
    QString out;
    qsizetype last = 0;
    for (auto it = address.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += text.mid(last, match.capturedStart() - last).toHtmlEscaped();
        links.append(match.captured());
        out += QStringLiteral("<a href=\"%1%2\">%3</a>")
                   .arg(kLinkScheme)
                   .arg(links.size() - 1)
                   .arg(match.captured().toHtmlEscaped());
        last = match.capturedEnd();
    }
    out += text.mid(last).toHtmlEscaped();
    out.replace(QLatin1String("\r\n"), QLatin1String("<br/>"));
    out.replace(u'\n', QLatin1String("<br/>"));
    return QStringLiteral("<span style=\"white-space:pre-wrap\">") + out + QStringLiteral("</span>");
}

void CHtmlText::Update(CPaintManagerUI* manager, const QString& markup, int font, int width, bool wrap,
                       bool plain)
{
    const std::uint32_t linkColor = manager ? manager->GetDefaultLinkFontColor() : 0xFF2F7FE0;
    const std::uint32_t linkHover = manager ? manager->GetDefaultLinkHoverFontColor() : 0xFF1F5FB0;
    const int layoutWidth = wrap ? width : -1;
    if (markup == m_markup && font == m_font && layoutWidth == m_width && wrap == m_wrap &&
        manager == m_manager && linkColor == m_linkColor && linkHover == m_linkHoverColor && plain == m_plain)
        return;
    m_plain = plain;
    m_markup = markup;
    m_font = font;
    m_width = layoutWidth;
    m_wrap = wrap;
    m_manager = manager;
    m_linkColor = linkColor;
    m_linkHoverColor = linkHover;
    m_document.setDocumentMargin(0);
    m_document.setDefaultFont(manager ? manager->GetFont(font) : CPaintManagerUI::DefaultFont());
    m_document.setDefaultStyleSheet(
        QStringLiteral("a { color: %1; text-decoration: none; }").arg(ColorCss(linkColor)));
    QTextOption option = m_document.defaultTextOption();
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    m_document.setDefaultTextOption(option);
    m_document.setHtml(plain ? PlainToQtHtml(markup, m_links) : ToQtHtml(manager, markup, m_links));
    m_document.setTextWidth(layoutWidth);
}

QSize CHtmlText::Size() const
{
    return m_document.size().toSize();
}

void CHtmlText::Draw(QPainter& painter, const QRect& rect, std::uint32_t color, unsigned style, int hotLink)
{
    m_lastRect = rect;
    const QSizeF size = m_document.size();
    qreal x = rect.left();
    qreal y = rect.top();
    if (style & DT_CENTER)
        x += (rect.width() - size.width()) / 2;
    else if (style & DT_RIGHT)
        x += rect.width() - size.width();
    if (style & DT_VCENTER)
        y += (rect.height() - size.height()) / 2;
    else if (style & DT_BOTTOM)
        y += rect.height() - size.height();
    m_lastOrigin = QPoint(qRound(x), qRound(y));

    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, QColor::fromRgba(color));
    context.clip = QRectF(rect).translated(-x, -y);
    if (hotLink >= 0) {
        // Colour the hovered link through a selection range over its characters.
        const QString anchor = kLinkScheme + QString::number(hotLink);
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (fragment.charFormat().anchorHref() != anchor)
                    continue;
                QAbstractTextDocumentLayout::Selection selection;
                selection.cursor = QTextCursor(&m_document);
                selection.cursor.setPosition(fragment.position());
                selection.cursor.setPosition(fragment.position() + fragment.length(),
                                             QTextCursor::KeepAnchor);
                selection.format.setForeground(QColor::fromRgba(m_linkHoverColor));
                selection.format.setFontUnderline(true);
                context.selections.append(selection);
            }
        }
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.translate(x, y);
    m_document.documentLayout()->draw(&painter, context);
    painter.restore();
}

int CHtmlText::LinkAt(QPoint point) const
{
    if (m_links.isEmpty() || !m_lastRect.contains(point))
        return -1;
    const QString href = m_document.documentLayout()->anchorAt(QPointF(point - m_lastOrigin));
    if (!href.startsWith(kLinkScheme))
        return -1;
    bool ok = false;
    const int index = href.mid(kLinkScheme.size()).toInt(&ok);
    return ok && index >= 0 && index < m_links.size() ? index : -1;
}

} // namespace UiLib
