// skinshot LAYOUT OUT.png [--size WxH] [--wait MS]
// Builds a layout in a window off screen and saves its picture, so that a layout can be looked at
// without running the program. The program's own tags are built; tags of page controls that are not
// part of this tool show as plain containers.

#include "controls/ControlFactory.h"

#include "uilib/CControlUI.h"
#include "uilib/WindowImplBase.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

class ShotWindow final : public UiLib::WindowImplBase
{
public:
    explicit ShotWindow(QString layout) : m_layout(std::move(layout)) {}
    QString GetSkinFile() override { return m_layout; }
    UiLib::CControlUI* CreateControl(const QString& tag) override
    {
        return ravelo::CreateProgramControl(tag);
    }

protected:
    QString GetWindowClassName() const override { return QStringLiteral("SkinShot"); }

private:
    QString m_layout;
};

int Usage()
{
    std::fprintf(stderr, "usage: skinshot LAYOUT OUT.png [--size WxH] [--wait MS]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return Usage();
    // A layout on disk is taken as it is; otherwise the name is looked up in the compiled-in skin.
    const QFileInfo file(args[1]);
    const QString layout = file.isFile() ? file.absoluteFilePath() : args[1];
    const QString output = args[2];
    QSize size;
    int waitMs = 300;
    for (int i = 3; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--size") && i + 1 < args.size()) {
            const QStringList parts = args[++i].split(u'x');
            if (parts.size() != 2)
                return Usage();
            size = QSize(parts[0].toInt(), parts[1].toInt());
            if (size.isEmpty())
                return Usage();
        } else if (args[i] == QLatin1String("--wait") && i + 1 < args.size()) {
            waitMs = qMax(0, args[++i].toInt());
        } else {
            return Usage();
        }
    }

    ShotWindow window(layout);
    const int cx = size.isEmpty() ? UiLib::CW_USEDEFAULT : size.width();
    const int cy = size.isEmpty() ? UiLib::CW_USEDEFAULT : size.height();
    if (!window.Create(0, QStringLiteral("skinshot"), UiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, cx, cy)) {
        std::fprintf(stderr, "skinshot: %s could not be built (run with RAVELO_DEBUG=1 for the reason)\n",
                     qPrintable(layout));
        return 1;
    }
    // Let "windowinit", layout requests and timers (the loading indicator's delay) run.
    QEventLoop loop;
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    loop.exec();
    const QImage picture = window.GetWidget()->grab().toImage();
    if (!picture.save(output, "PNG")) {
        std::fprintf(stderr, "skinshot: cannot write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("%s: %dx%d\n", qPrintable(output), picture.width(), picture.height());
    return 0;
}
