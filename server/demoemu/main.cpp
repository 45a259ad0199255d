// ravelo-demo-emu: the stand-in emulator of the demo catalogue. See EmuSession for what it does
// without a window; the window shows the game until Escape or Start+Back.
#include "EmuSession.h"
#include "EmuWindow.h"
#include "PadWatcher.h"
#include "platform/FileSystem.h"

#include <QApplication>
#include <QFont>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

std::string WorkingFolder()
{
    char buffer[4096];
    if (!::getcwd(buffer, sizeof(buffer)))
        return "./";
    return ravelo::WithTrailingSeparator(buffer);
}

void Report(const std::string& message)
{
    if (!message.empty())
        std::fprintf(stderr, "%s\n", message.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    using namespace ravelo::demoemu;
    EmuSession session(ravelo::ExecutableFolder(), WorkingFolder());
    const std::vector<std::string> args(argv + 1, argv + argc);
    int exitCode = 0;
    std::string message;
    if (!session.Start(args, std::getenv("RAVELO_DEMO_EMU_HEADLESS"),
                       std::getenv("RAVELO_DEMO_EMU_EXIT_CODE"), exitCode, message)) {
        Report(message);
        return exitCode;
    }
    const std::string screenshot = session.CommandLine().screenshot;
    // Qt ends the process without a display; run as a headless emulator would instead.
    const bool noDisplay =
        !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM");
    if (noDisplay && !session.CommandLine().headless)
        Report("没有可用的显示，改为无窗口运行");
    if ((session.CommandLine().headless || noDisplay) && screenshot.empty()) {
        std::fputs(session.Describe().c_str(), stdout);
        exitCode = session.Finish(message);
        Report(message);
        return exitCode;
    }

    QApplication app(argc, argv);
    QFont font("WenQuanYi Micro Hei");
    font.setPixelSize(14);
    QApplication::setFont(font);
    EmuWindow window(session);
    window.show();
    // Declared after the window, so its thread is joined before the window goes away.
    PadWatcher pads(
        &window, [&window](std::vector<AttachedPad> list) { window.SetAttachedPads(std::move(list)); },
        [&window](int instance, int button, bool pressed) { window.OnPadButton(instance, button, pressed); });
    if (!screenshot.empty()) {
        QTimer::singleShot(300, &window, [&window, &screenshot, &message] {
            if (!window.grab().save(QString::fromStdString(screenshot), "PNG"))
                message = "无法保存截图: " + screenshot;
            window.close();
        });
    }
    QApplication::exec();
    std::string settingsMessage;
    exitCode = session.Finish(settingsMessage);
    Report(message);
    Report(settingsMessage);
    return message.empty() ? exitCode : 1;
}
