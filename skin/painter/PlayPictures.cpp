// The pictures of the play windows, in the skin's palette (skin/README.md): the line icons of the
// my-games items, the drop illustration, and the gamepad test's pad with its lit cross.

#include "PlayPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

const QColor kAccent(0xFF, 0x6A, 0x3D);
const QColor kInk(0x1F, 0x24, 0x30);
const QColor kInkSoft(0x6B, 0x73, 0x85);
const QColor kWhite(0xFF, 0xFF, 0xFF);

QImage Canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Smooth(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

// 16x16 line icons in one colour, drawn like the skin's other icons.
QImage LineIcon(const QString& kind, const QColor& color)
{
    QImage image = Canvas(16, 16);
    QPainter p(&image);
    Smooth(p);
    p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (kind == QLatin1String("keyboard")) {
        p.drawRoundedRect(QRectF(1.5, 4, 13, 8.5), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 4; ++col)
                p.drawRect(QRectF(3.6 + col * 2.6, 5.9 + row * 2, 1.3, 1.1));
        p.drawRoundedRect(QRectF(5, 9.9, 6, 1.1), 0.5, 0.5);
    } else if (kind == QLatin1String("folder")) {
        QPainterPath folder;
        folder.moveTo(2, 4);
        folder.lineTo(6.2, 4);
        folder.lineTo(7.6, 5.6);
        folder.lineTo(14, 5.6);
        folder.lineTo(14, 13);
        folder.lineTo(2, 13);
        folder.closeSubpath();
        p.drawPath(folder);
    } else if (kind == QLatin1String("trash")) {
        p.drawLine(QPointF(2.5, 4.5), QPointF(13.5, 4.5));
        p.drawPolyline(QPolygonF({QPointF(6, 4.5), QPointF(6.5, 2.5), QPointF(9.5, 2.5), QPointF(10, 4.5)}));
        p.drawPolyline(
            QPolygonF({QPointF(4, 4.5), QPointF(4.8, 13.5), QPointF(11.2, 13.5), QPointF(12, 4.5)}));
        p.drawLine(QPointF(6.8, 7), QPointF(6.8, 11));
        p.drawLine(QPointF(9.2, 7), QPointF(9.2, 11));
    } else if (kind == QLatin1String("rename")) {
        p.drawPolygon(QPolygonF(
            {QPointF(3, 13), QPointF(3.6, 10.2), QPointF(10.8, 3), QPointF(13, 5.2), QPointF(5.8, 12.4)}));
        p.drawLine(QPointF(9.2, 4.6), QPointF(11.4, 6.8));
    }
    return image;
}

// The empty local list and the drop zone: a tray with a file falling into it.
QImage DropFiles()
{
    QImage image = Canvas(96, 96);
    QPainter p(&image);
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xE9, 0xE1));
    p.drawEllipse(QRectF(4, 4, 88, 88));
    // The file, with a folded corner.
    QPainterPath file;
    file.moveTo(34, 18);
    file.lineTo(54, 18);
    file.lineTo(64, 28);
    file.lineTo(64, 56);
    file.lineTo(34, 56);
    file.closeSubpath();
    p.setBrush(kWhite);
    p.setPen(QPen(kAccent, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(file);
    p.drawPolyline(QPolygonF({QPointF(54, 18), QPointF(54, 28), QPointF(64, 28)}));
    // The arrow into the tray.
    p.drawLine(QPointF(49, 34), QPointF(49, 50));
    p.drawPolyline(QPolygonF({QPointF(43, 44), QPointF(49, 50), QPointF(55, 44)}));
    // The tray.
    p.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(24, 56), QPointF(24, 72), QPointF(72, 72), QPointF(72, 56)}));
    return image;
}

// The pad under test, 480 by 260: a dark body whose wells sit where the gamepad test's layout puts its
// lamps, sticks and cross (left stick at 130,86, cross at 175,171, right stick at 305,171, the face
// buttons around 350,86, Back and Start at 205,81 and 275,81).
QImage PadBody()
{
    QImage image = Canvas(480, 260);
    QPainter p(&image);
    Smooth(p);
    QPainterPath top;
    top.addRoundedRect(QRectF(36, 18, 408, 160), 76, 76);
    QPainterPath leftGrip;
    leftGrip.addEllipse(QRectF(22, 70, 176, 186));
    QPainterPath rightGrip;
    rightGrip.addEllipse(QRectF(282, 70, 176, 186));
    const QPainterPath body = top.united(leftGrip).united(rightGrip);
    QLinearGradient shade(0, 20, 0, 255);
    shade.setColorAt(0, QColor(0x3A, 0x42, 0x57));
    shade.setColorAt(1, QColor(0x23, 0x28, 0x35));
    p.setPen(QPen(QColor(0x14, 0x18, 0x22), 2));
    p.setBrush(shade);
    p.drawPath(body);
    // A soft highlight along the top.
    p.setPen(QPen(QColor(255, 255, 255, 40), 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(46, 26, 388, 140), 30 * 16, 120 * 16);

    const QColor well(0x18, 0x1C, 0x26);
    p.setPen(Qt::NoPen);
    p.setBrush(well);
    p.drawEllipse(QPointF(130, 86), 44, 44);  // left stick
    p.drawEllipse(QPointF(305, 171), 44, 44); // right stick
    p.drawEllipse(QPointF(175, 171), 42, 42); // cross
    p.drawEllipse(QPointF(350, 86), 50, 50);  // face buttons
    p.drawRoundedRect(QRectF(186, 72, 38, 18), 9, 9);
    p.drawRoundedRect(QRectF(256, 72, 38, 18), 9, 9);
    // The cross itself, unlit.
    p.setBrush(QColor(0x4A, 0x53, 0x68));
    p.drawRoundedRect(QRectF(175 - 33, 171 - 11, 66, 22), 4, 4);
    p.drawRoundedRect(QRectF(175 - 11, 171 - 33, 22, 66), 4, 4);
    // The program's mark between the sticks.
    p.setBrush(QColor(0xFF, 0x6A, 0x3D, 0xD0));
    p.drawEllipse(QPointF(240, 118), 9, 9);
    return image;
}

// One arm of the cross lit in the accent, 70 by 70, drawn over the cross of the pad body.
QImage DpadArm(int direction) // 0 left, 1 up, 2 right, 3 down
{
    QImage image = Canvas(70, 70);
    QPainter p(&image);
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    const QRectF arms[] = {QRectF(2, 24, 26, 22), QRectF(24, 2, 22, 26), QRectF(42, 24, 26, 22),
                           QRectF(24, 42, 22, 26)};
    p.drawRoundedRect(arms[direction], 4, 4);
    // A small arrow on the lit arm.
    p.setBrush(QColor(255, 255, 255, 0xE0));
    const QPointF c = arms[direction].center();
    QPolygonF arrow;
    switch (direction) {
    case 0:
        arrow = QPolygonF({c + QPointF(-5, 0), c + QPointF(3, -5), c + QPointF(3, 5)});
        break;
    case 1:
        arrow = QPolygonF({c + QPointF(0, -5), c + QPointF(5, 3), c + QPointF(-5, 3)});
        break;
    case 2:
        arrow = QPolygonF({c + QPointF(5, 0), c + QPointF(-3, 5), c + QPointF(-3, -5)});
        break;
    default:
        arrow = QPolygonF({c + QPointF(0, 5), c + QPointF(-5, -3), c + QPointF(5, -3)});
        break;
    }
    p.drawPolygon(arrow);
    return image;
}

} // namespace

void AddPlayPictures(QHash<QString, std::function<QImage()>>& painters)
{
    for (const char* kind : {"keyboard", "folder", "trash", "rename"}) {
        const QString name = QString::fromLatin1(kind);
        painters.insert(QStringLiteral("icon_%1.png").arg(name), [name] { return LineIcon(name, kWhite); });
        painters.insert(QStringLiteral("icon_%1_dark.png").arg(name),
                        [name] { return LineIcon(name, kInk); });
        painters.insert(QStringLiteral("icon_%1_soft.png").arg(name),
                        [name] { return LineIcon(name, kInkSoft); });
    }
    painters.insert(QStringLiteral("drop_files.png"), DropFiles);
    painters.insert(QStringLiteral("pad_body.png"), PadBody);
    const char* arms[] = {"left", "up", "right", "down"};
    for (int i = 0; i < 4; ++i)
        painters.insert(QStringLiteral("dpad_%1.png").arg(QLatin1String(arms[i])),
                        [i] { return DpadArm(i); });
}
