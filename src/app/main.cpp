// ravelo: the game centre's windows over its engines.

#include "app/Startup.h"
#include "gui/common/PictureCheck.h"
#include "gui/shell/ProgramWindows.h"
#include "platform/Translate.h"

#include <QApplication>
#include <QMessageBox>

#include <clocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Numbers in files and requests are written the C way, whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");
    // The main window hides to the tray; the program ends when the main window closes for real.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Ravelo"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.ravelo.Ravelo"));

    const int code = ravelo::RunProgram(
        [](ravelo::Engines& engines) { return ravelo::RunWindows(engines); },
        [](const std::string& reason) {
            QMessageBox::critical(nullptr, QStringLiteral("Ravelo"), QString::fromStdString(reason));
        },
        [](ravelo::Engines::Setup& setup) { setup.pictureValidator = ravelo::IsDecodablePicture; });
    if (code == ravelo::kHttpLibraryFailed)
        QMessageBox::critical(nullptr, QStringLiteral("Ravelo"),
                              QString::fromUtf8(ravelo::Tr("初始化网络库失败")));
    return code < 0 ? 1 : 0;
}
