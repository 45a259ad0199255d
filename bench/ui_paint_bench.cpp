// Paints a layout of the main window's size (1250x680) holding 40 game tiles (picture, three
// labels, a button) through the UI library, and the same rectangles, pictures and texts with plain
// QPainter calls, off screen into the same kind of image. Prints the medians, their ratio (target
// under 2) and whether a full repaint stays under 8 ms.

#include "uilib/CControlUI.h"
#include "uilib/CDialogBuilder.h"
#include "uilib/CPaintManagerUI.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 1250;
constexpr int kHeight = 680;
constexpr int kTiles = 40;
constexpr int kColumns = 5;
constexpr int kRepaints = 200;

QString TileXml(int i)
{
    return QStringLiteral(
               "<HorizontalLayout bkcolor=\"#FFFFFFFF\" bordercolor=\"#FFE3E6EB\" bordersize=\"1\" "
               "borderround=\"12,12\" inset=\"8,8,8,8\" childpadding=\"8\" childvalign=\"vcenter\">"
               "<Control width=\"44\" height=\"44\" bkimage=\"skin\\ui\\DefaultGameIcon.png\" />"
               "<VerticalLayout>"
               "<Label text=\"超级游戏名称 第%1部\" font=\"3\" height=\"16\" endellipsis=\"true\" />"
               "<Label text=\"FC · 动作 · 中文\" font=\"1\" height=\"16\" textcolor=\"#FF6B7385\" "
               "endellipsis=\"true\" />"
               "<Label text=\"%2.50MB\" font=\"1\" height=\"16\" textcolor=\"#FF6B7385\" />"
               "</VerticalLayout>"
               "<Button text=\"安装\" width=\"52\" height=\"26\" font=\"1\" textcolor=\"#FFFFFFFF\" "
               "bkcolor=\"#FFFF6A3D\" borderround=\"13,13\" />"
               "</HorizontalLayout>")
        .arg(i + 1)
        .arg(i * 3 + 7);
}

QString LayoutXml()
{
    QString tiles;
    for (int i = 0; i < kTiles; ++i)
        tiles += TileXml(i);
    return QStringLiteral(
               "<Window size=\"%1,%2\"><Include source=\"skin\\xmls\\Theme.xml\" />"
               "<VerticalLayout bkcolor=\"#FFF4F5F7\">"
               "<Control height=\"80\" bkcolor=\"#FF1F2430\" />"
               "<HorizontalLayout><Control width=\"170\" bkcolor=\"#FF272D3A\" />"
               "<TileLayout columns=\"%3\" childpadding=\"10\" childvpadding=\"6\" inset=\"10,10,10,10\">%4"
               "</TileLayout></HorizontalLayout></VerticalLayout></Window>")
        .arg(kWidth)
        .arg(kHeight)
        .arg(kColumns)
        .arg(tiles);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The same picture drawn by hand: backgrounds, tile cards with borders, pictures, three elided
// labels and a rounded button per tile, in the same fonts and colours.
void PaintByHand(QPainter& painter, const QPixmap& icon, const UiLib::CPaintManagerUI& fonts)
{
    painter.fillRect(QRect(0, 0, kWidth, kHeight), QColor(0xF4, 0xF5, 0xF7));
    painter.fillRect(QRect(0, 0, kWidth, 80), QColor(0x1F, 0x24, 0x30));
    painter.fillRect(QRect(0, 80, 170, kHeight - 80), QColor(0x27, 0x2D, 0x3A));
    const QRect area(170 + 10, 80 + 10, kWidth - 170 - 20, kHeight - 80 - 20);
    const int rows = (kTiles + kColumns - 1) / kColumns;
    const int cellW = (area.width() - (kColumns - 1) * 10) / kColumns;
    const int cellH = (area.height() - (rows - 1) * 6) / rows;
    const QFont& titleFont = fonts.GetFont(3);
    const QFont& smallFont = fonts.GetFont(1);
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics smallMetrics(smallFont);
    for (int i = 0; i < kTiles; ++i) {
        const QRect cell(area.left() + (i % kColumns) * (cellW + 10),
                         area.top() + (i / kColumns) * (cellH + 6), cellW, cellH);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(cell), 6, 6);
        painter.setPen(QPen(QColor(0xE3, 0xE6, 0xEB), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(cell).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        painter.restore();
        const QRect inner = cell.adjusted(8, 8, -8, -8);
        const QRect picture(inner.left(), inner.top() + (inner.height() - 44) / 2, 44, 44);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawPixmap(picture, icon);
        const QRect button(inner.right() - 51, inner.top() + (inner.height() - 26) / 2, 52, 26);
        const int textLeft = picture.right() + 9;
        const int textWidth = button.left() - 8 - textLeft;
        const int textTop = inner.top();
        const QString title = QStringLiteral("超级游戏名称 第%1部").arg(i + 1);
        painter.setFont(titleFont);
        painter.setPen(QColor(0x1F, 0x24, 0x30));
        painter.drawText(QRect(textLeft, textTop, textWidth, 16),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         titleMetrics.horizontalAdvance(title) > textWidth
                             ? titleMetrics.elidedText(title, Qt::ElideRight, textWidth)
                             : title);
        painter.setFont(smallFont);
        painter.setPen(QColor(0x6B, 0x73, 0x85));
        const QString kind = QStringLiteral("FC · 动作 · 中文");
        painter.drawText(QRect(textLeft, textTop + 16, textWidth, 16),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         smallMetrics.horizontalAdvance(kind) > textWidth
                             ? smallMetrics.elidedText(kind, Qt::ElideRight, textWidth)
                             : kind);
        painter.drawText(QRect(textLeft, textTop + 32, textWidth, 16),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QStringLiteral("%1.50MB").arg(i * 3 + 7));
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xFF, 0x6A, 0x3D));
        painter.drawRoundedRect(QRectF(button), 6.5, 6.5);
        painter.restore();
        painter.setPen(Qt::white);
        painter.drawText(button, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("安装"));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString xml = LayoutXml();

    // Building: parse, create, attach and lay out.
    std::vector<double> builds;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer timer;
        timer.start();
        UiLib::CPaintManagerUI manager;
        UiLib::CDialogBuilder builder;
        UiLib::CControlUI* root = builder.CreateFromText(xml, nullptr, &manager);
        if (!root) {
            std::fprintf(stderr, "ui_paint_bench: layout failed: %s\n", qPrintable(builder.GetLastError()));
            return 1;
        }
        manager.AttachDialog(root);
        manager.UpdateLayout();
        builds.push_back(timer.nsecsElapsed() / 1e6);
    }

    UiLib::CPaintManagerUI manager;
    UiLib::CDialogBuilder builder;
    manager.AttachDialog(builder.CreateFromText(xml, nullptr, &manager));
    QImage canvas(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    const QRect all(0, 0, kWidth, kHeight);
    const QPixmap icon = manager.GetImageEx(QStringLiteral("skin\\ui\\DefaultGameIcon.png"));
    if (icon.isNull()) {
        std::fprintf(stderr, "ui_paint_bench: the skin's pictures are missing\n");
        return 1;
    }

    auto timeIt = [&](auto&& paint) {
        std::vector<double> times;
        for (int i = 0; i < kRepaints + 10; ++i) {
            QElapsedTimer timer;
            timer.start();
            QPainter painter(&canvas);
            paint(painter);
            painter.end();
            if (i >= 10) // the first few warm the caches
                times.push_back(timer.nsecsElapsed() / 1e6);
        }
        return Median(times);
    };
    // Interleave the two a few times so neither profits from a quieter moment of the machine.
    std::vector<double> library;
    std::vector<double> reference;
    for (int round = 0; round < 3; ++round) {
        library.push_back(timeIt([&](QPainter& painter) { manager.Paint(painter, all); }));
        reference.push_back(timeIt([&](QPainter& painter) { PaintByHand(painter, icon, manager); }));
    }
    if (argc > 1) {
        // ui_paint_bench OUT.png: keep the library's picture and the reference's side by side to compare.
        QImage both(kWidth, kHeight * 2, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&both);
        manager.Paint(painter, all);
        painter.translate(0, kHeight);
        PaintByHand(painter, icon, manager);
        painter.end();
        both.save(QString::fromLocal8Bit(argv[1]));
    }
    const double libraryMs = Median(library);
    const double referenceMs = Median(reference);
    const double ratio = libraryMs / referenceMs;
    std::printf(
        "ui_paint_bench: %d tiles (picture, three labels, a button) at %dx%d, median of %d repaints x 3\n",
        kTiles, kWidth, kHeight, kRepaints);
    std::printf("  build (parse, create, attach, lay out): %.2f ms\n", Median(builds));
    std::printf("  library full repaint:                  %.2f ms\n", libraryMs);
    std::printf("  plain QPainter reference:              %.2f ms\n", referenceMs);
    std::printf("  ratio library/reference:               %.2f (target < 2) %s\n", ratio,
                ratio < 2 ? "ok" : "MISSED");
    std::printf("  full repaint under 8 ms:               %s\n", libraryMs < 8 ? "yes" : "NO");
    return 0;
}
