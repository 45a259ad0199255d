// Drawing by image description, the layouts' colour and rectangle values, and the text markup.

#include "uilib/CHtmlText.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiParse.h"

#include "support/TempFolder.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace UiLib;
using ravelo::test::TempFolder;

namespace {

/// A 30x30 picture: red 10-pixel corners, green edges, a blue centre.
QString NineSlicePicture(const TempFolder& temp)
{
    QImage image(30, 30, QImage::Format_ARGB32);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const bool edgeX = x < 10 || x >= 20;
            const bool edgeY = y < 10 || y >= 20;
            image.setPixel(x, y, edgeX && edgeY ? 0xFFFF0000 : (edgeX || edgeY) ? 0xFF00FF00 : 0xFF0000FF);
        }
    }
    const QString path = QString::fromStdString(temp / "nine.png");
    image.save(path);
    return path;
}

QImage Draw(const QString& description, QSize size = QSize(100, 60))
{
    QImage canvas(size, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    const bool drawn =
        CRenderEngine::DrawImageString(painter, nullptr, canvas.rect(), canvas.rect(), description);
    painter.end();
    EXPECT_TRUE(drawn) << description.toStdString();
    return canvas;
}

} // namespace

TEST(Render, CornersKeepTheirSizeAndTheHoleStaysEmpty)
{
    TempFolder temp;
    const QString file = NineSlicePicture(temp);
    const QImage sliced = Draw(QStringLiteral("file='%1' corner='10,10,10,10'").arg(file));
    EXPECT_EQ(sliced.pixel(2, 2), 0xFFFF0000u);
    EXPECT_EQ(sliced.pixel(97, 57), 0xFFFF0000u);
    EXPECT_EQ(sliced.pixel(50, 3), 0xFF00FF00u);
    EXPECT_EQ(sliced.pixel(50, 30), 0xFF0000FFu);
    const QImage hole = Draw(QStringLiteral("file='%1' corner='10,10,10,10' hole='true'").arg(file));
    EXPECT_EQ(hole.pixel(50, 30), 0xFFFFFFFFu);
    EXPECT_EQ(hole.pixel(2, 2), 0xFFFF0000u);
}

TEST(Render, SourceAndDestPickAPartAndAPlace)
{
    TempFolder temp;
    const QString file = NineSlicePicture(temp);
    // The blue centre only, into a 20x10 spot at (40,20).
    const QImage part = Draw(QStringLiteral("file='%1' source='10,10,20,20' dest='40,20,60,30'").arg(file));
    EXPECT_EQ(part.pixel(45, 25), 0xFF0000FFu);
    EXPECT_EQ(part.pixel(35, 25), 0xFFFFFFFFu);
    EXPECT_EQ(part.pixel(45, 35), 0xFFFFFFFFu);
    // A half-faded picture mixes with the white below.
    const QImage faded = Draw(QStringLiteral("file='%1' source='10,10,20,20' fade='128'").arg(file));
    const QColor mixed = QColor::fromRgb(faded.pixel(50, 30));
    EXPECT_NEAR(mixed.red(), 127, 3);
    EXPECT_NEAR(mixed.blue(), 255, 3);

    QImage canvas(10, 10, QImage::Format_ARGB32);
    QPainter painter(&canvas);
    EXPECT_FALSE(CRenderEngine::DrawImageString(
        painter, nullptr, canvas.rect(), canvas.rect(),
        QStringLiteral("file='%1/absent.png'").arg(QString::fromStdString(temp.Path()))));
}

TEST(Render, LayoutValuesParseLeniently)
{
    EXPECT_EQ(Parse::Color(QStringLiteral("#FF1E2330")), 0xFF1E2330u);
    EXPECT_EQ(Parse::Color(QStringLiteral("FF4b99e2")), 0xFF4B99E2u);
    EXPECT_EQ(Parse::Color(QStringLiteral("0x80000000")), 0x80000000u);
    EXPECT_EQ(Parse::Color(QStringLiteral("#1E2330")), 0xFF1E2330u); // six digits: opaque
    EXPECT_EQ(Parse::Color(QStringLiteral("green")), 0u);
    EXPECT_EQ(Parse::Rect(QStringLiteral("10,20,60,40")), QRect(10, 20, 50, 20));
    EXPECT_EQ(Parse::Margins(QStringLiteral("1, 2,3")), QMargins(1, 2, 3, 0));
    EXPECT_EQ(Parse::Size(QStringLiteral("210,110")), QSize(210, 110));
    EXPECT_EQ(Parse::Int(QStringLiteral(" -12px")), -12);
    EXPECT_EQ(Parse::Int(QStringLiteral("99999999999")), 0x7FFFFFFF);
    EXPECT_TRUE(Parse::Bool(QStringLiteral("true")));
    EXPECT_FALSE(Parse::Bool(QStringLiteral("True")));
    EXPECT_FALSE(Parse::Bool(QStringLiteral("1")));
    const auto list = Parse::AttributeList(QStringLiteral("file='a b.png' dest=\"0,0,1,1\" broken='x"));
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].second, "a b.png");
    EXPECT_EQ(list[1].first, "dest");
    const TDrawInfo info =
        CRenderEngine::ParseImageString(QStringLiteral("skin\\ui\\x.png"), QStringLiteral("fade='20'"));
    EXPECT_EQ(info.file, "skin\\ui\\x.png");
    EXPECT_EQ(info.fade, 20);
}

TEST(Render, MarkupBecomesEscapedRichTextWithNumberedLinks)
{
    QStringList links;
    const QString html = CHtmlText::ToQtHtml(
        nullptr,
        QStringLiteral("a & b {b}bold{/b} <zzz>dropped</zzz> <a https://x.org/?q=1&r=2>link</a> {n}end"),
        links);
    EXPECT_TRUE(html.contains("a &amp; b")) << html.toStdString();
    EXPECT_TRUE(html.contains("<b>bold</b>"));
    EXPECT_FALSE(html.contains("zzz"));
    EXPECT_TRUE(html.contains("dropped"));
    EXPECT_TRUE(html.contains("<br/>end"));
    ASSERT_EQ(links, QStringList{"https://x.org/?q=1&r=2"});
    EXPECT_TRUE(html.contains("href=\"uilink:0\""));
    // A link without a target points at its own text (the feedback window's forum line).
    CHtmlText::ToQtHtml(nullptr, QStringLiteral("<f 0><a>https://bbs.example.com</a></f> <a>second"), links);
    EXPECT_EQ(links, (QStringList{"https://bbs.example.com", "second"}));
    // Unclosed tags are closed at the end.
    EXPECT_TRUE(CHtmlText::ToQtHtml(nullptr, QStringLiteral("<u>open"), links).endsWith("</u>"));

    // Plain text stays plain; its addresses become links.
    const QString plain =
        CHtmlText::PlainToQtHtml(QStringLiteral("<b>not bold</b>\nsee https://example.com/emu."), links);
    EXPECT_TRUE(plain.contains("&lt;b&gt;not bold&lt;/b&gt;<br/>"));
    EXPECT_EQ(links,
              QStringList{"https://example.com/emu"}); // the full stop ends the sentence, not the address
}
