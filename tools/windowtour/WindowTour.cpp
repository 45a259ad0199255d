// windowtour OUTDIR [--only TEXT]
// Runs the program's windows against a demo catalogue served on loopback and saves one picture per
// window and state into OUTDIR, for a person to look at. Each area of the windows adds its stops.

#include "DemoServerProcess.h"

#include "app/Startup.h"
#include "gui/common/PictureCheck.h"
#include "gui/common/TourStops.h"
#include "platform/IniFile.h"
#include "uilib/CWindowWnd.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace ravelo;

class Tour final : public TourContext
{
public:
    Tour(Engines& engines, QString outDir, std::string serverUrl)
        : m_engines(engines), m_outDir(std::move(outDir)), m_serverUrl(std::move(serverUrl))
    {
    }

    Engines& GetEngines() override { return m_engines; }

    void Shoot(const QString& name, UiLib::CWindowWnd& window, bool alsoMaximised) override
    {
        QWidget* widget = window.GetWidget();
        if (!widget) {
            std::fprintf(stderr, "windowtour: %s has no window\n", qPrintable(name));
            return;
        }
        Settle(150);
        Save(name, widget);
        if (alsoMaximised) {
            const QRect before = widget->geometry();
            widget->setGeometry(0, 0, 1920, 1040); // a maximised window on a 1920x1080 screen
            Settle(400);
            Save(name + QStringLiteral("-max"), widget);
            widget->setGeometry(before);
            Settle(150);
        }
    }

    bool WaitFor(const std::function<bool()>& cond, int timeoutMs) override
    {
        return QTest::qWaitFor(cond, timeoutMs);
    }

    void Settle(int ms) override { QTest::qWait(ms); }
    std::string ServerUrl() const override { return m_serverUrl; }

private:
    void Save(const QString& name, QWidget* widget)
    {
        const QString file = QDir(m_outDir).filePath(name + QStringLiteral(".png"));
        if (widget->grab().save(file))
            std::printf("%s\n", qPrintable(file));
        else
            std::fprintf(stderr, "windowtour: cannot write %s\n", qPrintable(file));
    }

    Engines& m_engines;
    QString m_outDir;
    std::string m_serverUrl;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: windowtour OUTDIR [--only TEXT]\n");
        return 2;
    }
    const QString outDir = QDir(args[1]).absolutePath();
    const QString only = args.size() >= 4 && args[2] == QLatin1String("--only") ? args[3] : QString();
    QDir().mkpath(outDir);

    // A program of its own: a fresh home, temporary folder and games folder, next to the catalogue.
    const QString work = QDir(outDir).filePath(QStringLiteral(".tour"));
    QDir(work).removeRecursively();
    QDir().mkpath(work + QStringLiteral("/home"));
    QDir().mkpath(work + QStringLiteral("/tmp"));
    const std::string root = work.toStdString() + "/";
    tour::DemoServerProcess server(root);
    if (server.Url().empty()) {
        std::fprintf(stderr, "windowtour: the demo catalogue server did not start\n");
        return 1;
    }
    ::setenv("RAVELO_HOME", (root + "home").c_str(), 1);
    ::setenv("TMPDIR", (root + "tmp").c_str(), 1);
    ::setenv("RAVELO_DEMO_EMU_HEADLESS", "1", 1);
    WriteProfileString(root + "home/ravelo.cfg", "Service", "BaseUrl", server.Url());
    WriteProfileString(root + "home/ravelo.cfg", "Set", "RomPath", root + "games/");

    std::vector<TourStop> stops;
    AddShellTourStops(stops);
    AddCatalogueTourStops(stops);
    AddDownloadsTourStops(stops);
    AddPlayTourStops(stops);
    AddSettingsTourStops(stops);

    const int code = RunProgram(
        [&](Engines& engines) {
            Tour tour(engines, outDir, server.Url());
            for (const TourStop& stop : stops) {
                if (!only.isEmpty() && !stop.name.contains(only))
                    continue;
                std::fprintf(stderr, "windowtour: %s\n", qPrintable(stop.name));
                stop.run(tour);
            }
            return 0;
        },
        nullptr, [](Engines::Setup& setup) { setup.pictureValidator = IsDecodablePicture; });
    return code == 0 ? 0 : 1;
}
