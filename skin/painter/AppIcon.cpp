#include "AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// The drawing on a 128-unit square; both renderings scale it.
constexpr double kUnits = 128;
constexpr double kSquare[] = {4, 4, 120, 120, 28}; // x, y, width, height, corner radius
constexpr double kStroke = 13;
const QColor kFrom(0xFF, 0x8A, 0x5B);
const QColor kTo(0xE6, 0x55, 0x28);

struct Point
{
    double x;
    double y;
};

// The letter: a stem, a bowl closed by a curve, and a leg.
constexpr Point kStem[] = {{38, 98}, {38, 30}, {70, 30}};
constexpr Point kBowl[] = {{96, 30}, {96, 68}, {70, 68}}; // cubic: two controls, end
constexpr Point kLeg[] = {{58, 68}, {86, 98}};
constexpr Point kPlay[] = {{60, 41}, {73, 49}, {60, 57}};

} // namespace

QImage PaintAppIcon(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / kUnits, side / kUnits);
    QLinearGradient fill(0, 0, kUnits, kUnits);
    fill.setColorAt(0, kFrom);
    fill.setColorAt(1, kTo);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(kSquare[0], kSquare[1], kSquare[2], kSquare[3]), kSquare[4], kSquare[4]);

    QPainterPath letter;
    letter.moveTo(kStem[0].x, kStem[0].y);
    letter.lineTo(kStem[1].x, kStem[1].y);
    letter.lineTo(kStem[2].x, kStem[2].y);
    letter.cubicTo(kBowl[0].x, kBowl[0].y, kBowl[1].x, kBowl[1].y, kBowl[2].x, kBowl[2].y);
    letter.lineTo(kLeg[0].x, kLeg[0].y);
    letter.lineTo(kLeg[1].x, kLeg[1].y);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, kStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(letter);

    QPainterPath play;
    play.moveTo(kPlay[0].x, kPlay[0].y);
    play.lineTo(kPlay[1].x, kPlay[1].y);
    play.lineTo(kPlay[2].x, kPlay[2].y);
    play.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(play);
    return image;
}

QByteArray AppIconSvg()
{
    const auto n = [](double value) { return QByteArray::number(value, 'g', 6); };
    const auto at = [&n](const Point& point) { return n(point.x) + ' ' + n(point.y); };
    QByteArray svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + n(kUnits) + "\" height=\"" + n(kUnits) +
           "\" viewBox=\"0 0 " + n(kUnits) + ' ' + n(kUnits) + "\">\n";
    svg +=
        "  <defs>\n    <linearGradient id=\"fill\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" x2=\"" +
        n(kUnits) + "\" y2=\"" + n(kUnits) + "\">\n";
    svg += "      <stop offset=\"0\" stop-color=\"" + kFrom.name().toLatin1() + "\"/>\n";
    svg += "      <stop offset=\"1\" stop-color=\"" + kTo.name().toLatin1() + "\"/>\n";
    svg += "    </linearGradient>\n  </defs>\n";
    svg += "  <rect x=\"" + n(kSquare[0]) + "\" y=\"" + n(kSquare[1]) + "\" width=\"" + n(kSquare[2]) +
           "\" height=\"" + n(kSquare[3]) + "\" rx=\"" + n(kSquare[4]) + "\" fill=\"url(#fill)\"/>\n";
    svg += "  <path d=\"M" + at(kStem[0]) + " L" + at(kStem[1]) + " L" + at(kStem[2]) + " C" + at(kBowl[0]) +
           ' ' + at(kBowl[1]) + ' ' + at(kBowl[2]) + " L" + at(kLeg[0]) + " L" + at(kLeg[1]) +
           "\" fill=\"none\" stroke=\"#ffffff\" stroke-width=\"" + n(kStroke) +
           "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n";
    svg += "  <path d=\"M" + at(kPlay[0]) + " L" + at(kPlay[1]) + " L" + at(kPlay[2]) +
           " Z\" fill=\"#ffffff\"/>\n";
    svg += "</svg>\n";
    return svg;
}
