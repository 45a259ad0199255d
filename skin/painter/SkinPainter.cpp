// Paints the skin's pictures. The build runs it with the names of the pictures it needs and the
// folder to write them to; every picture is drawn here from shapes and text, in the skin's palette
// (see skin/README.md), so nothing in the skin is copied from anywhere.

#include "AppIcon.h"
#include "PlayPictures.h"

#include <QBrush>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

// The palette.
const QColor kAccent(0xFF, 0x6A, 0x3D);
const QColor kAccentDark(0xE6, 0x55, 0x28);
const QColor kInk(0x1F, 0x24, 0x30);
const QColor kInkSoft(0x6B, 0x73, 0x85);
const QColor kLine(0xE3, 0xE6, 0xEB);
const QColor kSurface(0xF4, 0xF5, 0xF7);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kStar(0xFF, 0xB4, 0x2E);
const QColor kStarOff(0xDD, 0xE1, 0xE7);

QFont LabelFont(int pixelSize, bool bold = true)
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("sans-serif")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QImage Canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Smooth(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QPainterPath StarPath(QPointF centre, double outer, double inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double radius = (i % 2 == 0) ? outer : inner;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF point(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

// A gamepad outline: body, two grips, a cross and four buttons.
void DrawGamepad(QPainter& p, QRectF box, const QColor& body, const QColor& detail)
{
    const double w = box.width();
    const double h = box.height();
    QPainterPath pad;
    pad.addRoundedRect(QRectF(box.left() + w * 0.08, box.top() + h * 0.22, w * 0.84, h * 0.46), h * 0.2,
                       h * 0.2);
    pad.addEllipse(QRectF(box.left() + w * 0.04, box.top() + h * 0.34, w * 0.34, h * 0.52));
    pad.addEllipse(QRectF(box.left() + w * 0.62, box.top() + h * 0.34, w * 0.34, h * 0.52));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(pad.simplified());
    p.setBrush(detail);
    const double cx = box.left() + w * 0.27;
    const double cy = box.top() + h * 0.48;
    const double arm = w * 0.055;
    p.drawRoundedRect(QRectF(cx - arm * 2.6, cy - arm, arm * 5.2, arm * 2), arm * 0.4, arm * 0.4);
    p.drawRoundedRect(QRectF(cx - arm, cy - arm * 2.6, arm * 2, arm * 5.2), arm * 0.4, arm * 0.4);
    const double bx = box.left() + w * 0.73;
    const double r = w * 0.045;
    for (const QPointF& offset : {QPointF(0, -2.2), QPointF(0, 2.2), QPointF(-2.2, 0), QPointF(2.2, 0)})
        p.drawEllipse(QPointF(bx + offset.x() * r, cy + offset.y() * r), r, r);
}

QImage DefaultGameIcon()
{
    QImage image = Canvas(96, 96);
    QPainter p(&image);
    Smooth(p);
    QLinearGradient fill(0, 0, 96, 96);
    fill.setColorAt(0, QColor(0x3A, 0x42, 0x57));
    fill.setColorAt(1, QColor(0x1F, 0x24, 0x30));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0, 0, 96, 96), 16, 16);
    DrawGamepad(p, QRectF(14, 18, 68, 60), QColor(0xFF, 0xFF, 0xFF, 0xE6), QColor(0x2B, 0x31, 0x42));
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(62, 47.5), 3.2, 3.2);
    return image;
}

QImage GameFrame()
{
    // A hairline ring and a soft top highlight, drawn over a cover of any colour.
    QImage image = Canvas(96, 96);
    QPainter p(&image);
    Smooth(p);
    QPainterPath outside;
    outside.addRect(QRectF(0, 0, 96, 96));
    QPainterPath inside;
    inside.addRoundedRect(QRectF(0, 0, 96, 96), 16, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kWhite);
    p.drawPath(outside.subtracted(inside));
    QLinearGradient shine(0, 0, 0, 40);
    shine.setColorAt(0, QColor(255, 255, 255, 46));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.drawRoundedRect(QRectF(1, 1, 94, 40), 15, 15);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 28), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 95, 95), 15.5, 15.5);
    return image;
}

QImage Stars(const QColor& color)
{
    // Five stars across 109 pixels, so that a width of 22 per star shows whole ones.
    QImage image = Canvas(109, 18);
    QPainter p(&image);
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    for (int i = 0; i < 5; ++i)
        p.drawPath(StarPath(QPointF(9 + i * 22.75, 9.6), 8.8, 3.9));
    return image;
}

struct SystemStyle
{
    QString label;
    QColor from;
    QColor to;
};

QImage SystemLogo(const SystemStyle& style)
{
    QImage image = Canvas(64, 64);
    QPainter p(&image);
    Smooth(p);
    QLinearGradient fill(0, 0, 64, 64);
    fill.setColorAt(0, style.from);
    fill.setColorAt(1, style.to);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0, 0, 64, 64), 14, 14);
    // A small cartridge notch gives the tiles a common mark.
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawRoundedRect(QRectF(20, 8, 24, 5), 2.5, 2.5);
    const int size = style.label.size() <= 2   ? 24
                     : style.label.size() <= 3 ? 20
                     : style.label.size() <= 4 ? 16
                                               : 12;
    p.setFont(LabelFont(size));
    p.setPen(kWhite);
    p.drawText(QRectF(2, 14, 60, 46), Qt::AlignCenter, style.label);
    return image;
}

QImage Dot(const QColor& color)
{
    QImage image = Canvas(10, 10);
    QPainter p(&image);
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(1, 1, 8, 8));
    return image;
}

QImage Badge()
{
    QImage image = Canvas(24, 14);
    QPainter p(&image);
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE5, 0x48, 0x4D));
    p.drawRoundedRect(QRectF(0, 0, 24, 14), 7, 7);
    return image;
}

QImage CheckBox(bool checked)
{
    QImage image = Canvas(18, 18);
    QPainter p(&image);
    Smooth(p);
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(1, 1, 16, 16), 4, 4);
        p.setPen(QPen(kWhite, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(5, 9.2);
        tick.lineTo(8, 12);
        tick.lineTo(13.2, 6.2);
        p.drawPath(tick);
    } else {
        p.setPen(QPen(QColor(0xB5, 0xBB, 0xC6), 1.2));
        p.setBrush(kWhite);
        p.drawRoundedRect(QRectF(1.6, 1.6, 14.8, 14.8), 3.5, 3.5);
    }
    return image;
}

QImage Radio(bool checked)
{
    QImage image = Canvas(18, 18);
    QPainter p(&image);
    Smooth(p);
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(QRectF(1, 1, 16, 16));
        p.setBrush(kWhite);
        p.drawEllipse(QRectF(5.5, 5.5, 7, 7));
    } else {
        p.setPen(QPen(QColor(0xB5, 0xBB, 0xC6), 1.2));
        p.setBrush(kWhite);
        p.drawEllipse(QRectF(1.6, 1.6, 14.8, 14.8));
    }
    return image;
}

QImage Switch(bool on)
{
    QImage image = Canvas(36, 20);
    QPainter p(&image);
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(on ? kAccent : QColor(0xCF, 0xD4, 0xDC));
    p.drawRoundedRect(QRectF(0, 0, 36, 20), 10, 10);
    p.setBrush(kWhite);
    p.drawEllipse(QRectF(on ? 18 : 2, 2, 16, 16));
    return image;
}

QImage Chevron(bool down, const QColor& color)
{
    QImage image = Canvas(12, 12);
    QPainter p(&image);
    Smooth(p);
    p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    if (down) {
        path.moveTo(2.5, 4.5);
        path.lineTo(6, 8);
        path.lineTo(9.5, 4.5);
    } else {
        path.moveTo(4.5, 2.5);
        path.lineTo(8, 6);
        path.lineTo(4.5, 9.5);
    }
    p.drawPath(path);
    return image;
}

QImage Marker()
{
    QImage image = Canvas(4, 24);
    QPainter p(&image);
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(0, 0, 4, 24), 2, 2);
    return image;
}

// Title-bar and tool icons: 16x16 line drawings in one colour.
QImage Icon(const QString& kind, const QColor& color)
{
    QImage image = Canvas(16, 16);
    QPainter p(&image);
    Smooth(p);
    QPen pen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (kind == QLatin1String("close")) {
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    } else if (kind == QLatin1String("min")) {
        p.drawLine(QPointF(3.5, 8.5), QPointF(12.5, 8.5));
    } else if (kind == QLatin1String("search")) {
        p.drawEllipse(QRectF(2.5, 2.5, 8.5, 8.5));
        p.drawLine(QPointF(10, 10), QPointF(13.5, 13.5));
    } else if (kind == QLatin1String("download")) {
        p.drawLine(QPointF(8, 2.5), QPointF(8, 10.5));
        p.drawPolyline(QPolygonF({QPointF(4.5, 7.5), QPointF(8, 11), QPointF(11.5, 7.5)}));
        p.drawLine(QPointF(3, 13.5), QPointF(13, 13.5));
    } else if (kind == QLatin1String("gamepad")) {
        p.setPen(Qt::NoPen);
        DrawGamepad(p, QRectF(0, 0, 16, 16), color, Qt::transparent);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.setBrush(Qt::black);
        p.drawRect(QRectF(3.4, 7.3, 2.8, 0.9));
        p.drawRect(QRectF(4.35, 6.3, 0.9, 2.8));
        p.drawEllipse(QPointF(11.7, 7.7), 0.8, 0.8);
    } else if (kind == QLatin1String("settings")) {
        p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            p.drawLine(QPointF(8 + 4.6 * std::cos(a), 8 + 4.6 * std::sin(a)),
                       QPointF(8 + 6.4 * std::cos(a), 8 + 6.4 * std::sin(a)));
        }
    } else if (kind == QLatin1String("feedback")) {
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(2, 2.5, 12, 9), 2.5, 2.5);
        p.drawPath(bubble);
        p.drawPolyline(QPolygonF({QPointF(5, 11.5), QPointF(5, 14), QPointF(8, 11.5)}));
    } else if (kind == QLatin1String("back")) {
        p.drawPolyline(QPolygonF({QPointF(10, 3), QPointF(5, 8), QPointF(10, 13)}));
    } else if (kind == QLatin1String("play")) {
        p.setBrush(color);
        p.drawPolygon(QPolygonF({QPointF(5, 3.5), QPointF(12.5, 8), QPointF(5, 12.5)}));
    } else if (kind == QLatin1String("pause")) {
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawRoundedRect(QRectF(4, 3.5, 2.8, 9), 1, 1);
        p.drawRoundedRect(QRectF(9.2, 3.5, 2.8, 9), 1, 1);
    } else if (kind == QLatin1String("delete")) {
        p.drawLine(QPointF(2.5, 4.5), QPointF(13.5, 4.5));
        p.drawPolyline(QPolygonF({QPointF(6, 4.5), QPointF(6, 2.5), QPointF(10, 2.5), QPointF(10, 4.5)}));
        p.drawPolyline(
            QPolygonF({QPointF(4, 4.5), QPointF(4.8, 13.5), QPointF(11.2, 13.5), QPointF(12, 4.5)}));
        p.drawLine(QPointF(6.8, 7), QPointF(6.8, 11));
        p.drawLine(QPointF(9.2, 7), QPointF(9.2, 11));
    } else if (kind == QLatin1String("update")) {
        // Two arrows chasing each other round a circle.
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 140 * 16);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 210 * 16, 140 * 16);
        p.drawPolyline(QPolygonF({QPointF(2.2, 3.6), QPointF(3.4, 6.2), QPointF(6, 5.2)}));
        p.drawPolyline(QPolygonF({QPointF(13.8, 12.4), QPointF(12.6, 9.8), QPointF(10, 10.8)}));
    }
    return image;
}

QImage LoadingFail()
{
    QImage image = Canvas(96, 96);
    QPainter p(&image);
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE9, 0xEC, 0xF1));
    QPainterPath cloud;
    cloud.addEllipse(QRectF(14, 36, 30, 30));
    cloud.addEllipse(QRectF(30, 22, 38, 38));
    cloud.addEllipse(QRectF(52, 38, 28, 28));
    cloud.addRoundedRect(QRectF(24, 48, 50, 18), 9, 9);
    p.drawPath(cloud.simplified());
    p.setPen(QPen(kInkSoft, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(41, 37), QPointF(55, 51));
    p.drawLine(QPointF(55, 37), QPointF(41, 51));
    p.setPen(QPen(QColor(0xCF, 0xD4, 0xDC), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(30, 78), QPointF(66, 78));
    return image;
}

QImage LoadingRing()
{
    QImage image = Canvas(40, 40);
    QPainter p(&image);
    Smooth(p);
    p.setPen(QPen(kLine, 4));
    p.drawEllipse(QRectF(4, 4, 32, 32));
    QConicalGradient arc(20, 20, 90);
    arc.setColorAt(0, kAccent);
    arc.setColorAt(0.7, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 0));
    p.setPen(QPen(QBrush(arc), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(4, 4, 32, 32), 90 * 16, -250 * 16);
    return image;
}

QImage Banner()
{
    // A placeholder banner for the gallery: a wide gradient with pads drifting across it.
    QImage image = Canvas(480, 200);
    QPainter p(&image);
    Smooth(p);
    QLinearGradient fill(0, 0, 480, 200);
    fill.setColorAt(0, QColor(0x2B, 0x31, 0x42));
    fill.setColorAt(1, QColor(0x4A, 0x2C, 0x3A));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRect(0, 0, 480, 200);
    QRadialGradient glow(360, 60, 220);
    glow.setColorAt(0, QColor(0xFF, 0x6A, 0x3D, 120));
    glow.setColorAt(1, QColor(0xFF, 0x6A, 0x3D, 0));
    p.setBrush(glow);
    p.drawRect(0, 0, 480, 200);
    DrawGamepad(p, QRectF(300, 40, 150, 130), QColor(255, 255, 255, 40), QColor(255, 255, 255, 20));
    DrawGamepad(p, QRectF(250, 110, 70, 60), QColor(255, 255, 255, 28), QColor(255, 255, 255, 14));
    return image;
}

using Painter = std::function<QImage()>;

QHash<QString, Painter> Painters()
{
    QHash<QString, Painter> painters;
    painters.insert(QStringLiteral("DefaultGameIcon.png"), DefaultGameIcon);
    painters.insert(QStringLiteral("game_frame.png"), GameFrame);
    painters.insert(QStringLiteral("level_foreimage.png"), [] { return Stars(kStar); });
    painters.insert(QStringLiteral("level_bkimage.png"), [] { return Stars(kStarOff); });
    painters.insert(QStringLiteral("92_92_92.png"), [] { return Dot(QColor(92, 92, 92)); });
    painters.insert(QStringLiteral("white.png"), [] { return Dot(kWhite); });
    painters.insert(QStringLiteral("logo.png"), [] { return PaintAppIcon(128); });
    painters.insert(QStringLiteral("logo_small.png"), [] { return PaintAppIcon(32); });
    painters.insert(QStringLiteral("num_badge.png"), Badge);
    painters.insert(QStringLiteral("check_normal.png"), [] { return CheckBox(false); });
    painters.insert(QStringLiteral("check_selected.png"), [] { return CheckBox(true); });
    painters.insert(QStringLiteral("radio_normal.png"), [] { return Radio(false); });
    painters.insert(QStringLiteral("radio_selected.png"), [] { return Radio(true); });
    painters.insert(QStringLiteral("switch_off.png"), [] { return Switch(false); });
    painters.insert(QStringLiteral("switch_on.png"), [] { return Switch(true); });
    painters.insert(QStringLiteral("arrow_right.png"), [] { return Chevron(false, kInkSoft); });
    painters.insert(QStringLiteral("arrow_down.png"), [] { return Chevron(true, kInkSoft); });
    painters.insert(QStringLiteral("arrow_right_light.png"),
                    [] { return Chevron(false, QColor(0x9A, 0xA3, 0xB5)); });
    painters.insert(QStringLiteral("arrow_down_light.png"), [] { return Chevron(true, kWhite); });
    painters.insert(QStringLiteral("leftbar_marker.png"), Marker);
    painters.insert(QStringLiteral("loading_fail.png"), LoadingFail);
    painters.insert(QStringLiteral("loading_ring.png"), LoadingRing);
    painters.insert(QStringLiteral("banner_sample.png"), Banner);
    for (const char* kind : {"close", "min", "search", "download", "gamepad", "settings", "feedback", "back",
                             "play", "pause", "delete", "update"}) {
        const QString name = QString::fromLatin1(kind);
        painters.insert(QStringLiteral("icon_%1.png").arg(name), [name] { return Icon(name, kWhite); });
        painters.insert(QStringLiteral("icon_%1_dark.png").arg(name), [name] { return Icon(name, kInk); });
    }
    const QList<QPair<QString, SystemStyle>> systems = {
        {QStringLiteral("fc"), {QStringLiteral("FC"), QColor(0xE5, 0x48, 0x4D), QColor(0xB8, 0x2E, 0x3A)}},
        {QStringLiteral("sfc"), {QStringLiteral("SFC"), QColor(0x8E, 0x6C, 0xEF), QColor(0x5F, 0x47, 0xC4)}},
        {QStringLiteral("n64"), {QStringLiteral("N64"), QColor(0x2D, 0xB4, 0x6C), QColor(0x1E, 0x8A, 0x52)}},
        {QStringLiteral("wii"), {QStringLiteral("WII"), QColor(0x4F, 0xB3, 0xE8), QColor(0x2F, 0x86, 0xC4)}},
        {QStringLiteral("gbc"), {QStringLiteral("GBC"), QColor(0xF5, 0xA6, 0x23), QColor(0xD9, 0x80, 0x0F)}},
        {QStringLiteral("gba"), {QStringLiteral("GBA"), QColor(0x6C, 0x5C, 0xE7), QColor(0x48, 0x3C, 0xB8)}},
        {QStringLiteral("nds"), {QStringLiteral("NDS"), QColor(0x60, 0x6F, 0x8A), QColor(0x3E, 0x4A, 0x60)}},
        {QStringLiteral("md"), {QStringLiteral("MD"), QColor(0x2F, 0x7F, 0xE0), QColor(0x1F, 0x5F, 0xB0)}},
        {QStringLiteral("dc"), {QStringLiteral("DC"), QColor(0xFF, 0x8A, 0x3D), QColor(0xE0, 0x62, 0x1C)}},
        {QStringLiteral("ps"), {QStringLiteral("PS"), QColor(0x54, 0x5E, 0x75), QColor(0x2E, 0x35, 0x47)}},
        {QStringLiteral("ps2"), {QStringLiteral("PS2"), QColor(0x1F, 0x4E, 0xA8), QColor(0x14, 0x33, 0x75)}},
        {QStringLiteral("psp"), {QStringLiteral("PSP"), QColor(0x3B, 0x3F, 0x4C), QColor(0x1F, 0x22, 0x2B)}},
        {QStringLiteral("pce"), {QStringLiteral("PCE"), QColor(0xE8, 0x5D, 0x8F), QColor(0xC0, 0x3B, 0x6C)}},
        {QStringLiteral("wsc"), {QStringLiteral("WSC"), QColor(0x1A, 0xA6, 0xA0), QColor(0x10, 0x7A, 0x76)}},
        {QStringLiteral("fba"),
         {QStringLiteral("ARCADE"), QColor(0xD9, 0x3F, 0x2E), QColor(0x8C, 0x22, 0x1A)}},
        {QStringLiteral("mame"),
         {QStringLiteral("MAME"), QColor(0x7A, 0x86, 0x9C), QColor(0x4D, 0x57, 0x6B)}},
        {QStringLiteral("mameplus"),
         {QStringLiteral("MAME+"), QColor(0x9B, 0x59, 0xB6), QColor(0x6C, 0x34, 0x83)}},
        {QStringLiteral("pc"), {QStringLiteral("PC"), QColor(0x34, 0x98, 0xDB), QColor(0x21, 0x6E, 0xA8)}},
    };
    for (const auto& [code, style] : systems) {
        const SystemStyle copy = style;
        painters.insert(QStringLiteral("local_%1.png").arg(code), [copy] { return SystemLogo(copy); });
    }
    AddPlayPictures(painters);
    return painters;
}

/// The desktop's icon theme tree: hicolor/<n>x<n>/apps/<name>.png for each raster size and
/// hicolor/scalable/apps/<name>.svg.
int PaintAppIcons(const QString& folder, const QString& name)
{
    int failures = 0;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString apps = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(side);
        if (!QDir().mkpath(apps) ||
            !PaintAppIcon(side).save(apps + '/' + name + QStringLiteral(".png"), "PNG")) {
            std::fprintf(stderr, "cannot write the %dpx icon in %s\n", side, qPrintable(apps));
            ++failures;
        }
    }
    const QString scalable = folder + QStringLiteral("/hicolor/scalable/apps");
    QFile svg(scalable + '/' + name + QStringLiteral(".svg"));
    const QByteArray text = AppIconSvg();
    if (!QDir().mkpath(scalable) || !svg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        svg.write(text) != text.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svg.fileName()));
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--app-icons") == 0)
        return PaintAppIcons(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc < 3) {
        std::fprintf(stderr, "usage: ravelo_skin_painter OUTPUT_FOLDER PICTURE.png...\n"
                             "       ravelo_skin_painter --app-icons OUTPUT_FOLDER ICON_NAME\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const QHash<QString, Painter> painters = Painters();
    int failures = 0;
    for (int i = 2; i < argc; ++i) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        const auto it = painters.constFind(name);
        if (it == painters.constEnd()) {
            std::fprintf(stderr, "no painter for %s\n", argv[i]);
            ++failures;
            continue;
        }
        if (!it.value()().save(QDir(folder).filePath(name), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", argv[i]);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
