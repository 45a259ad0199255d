#include "gui/common/UiProbe.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace ravelo::UiProbe {
namespace {

void Print(const char* line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

class FirstPaintWatch : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            // After this paint has gone out, not before it started.
            QTimer::singleShot(0, [] { Print("probe first-paint"); });
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

constexpr int kIntervalMs = 10;
constexpr int kReportEveryMs = 5000;

class LatencySampler : public QObject
{
public:
    LatencySampler()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Sample(); });
        m_timer.start(kIntervalMs);
        m_last.start();
        m_window.start();
    }

private:
    void Sample()
    {
        const double elapsed = static_cast<double>(m_last.nsecsElapsed()) / 1e6;
        m_last.restart();
        m_late.push_back(std::max(0.0, elapsed - kIntervalMs));
        if (m_window.elapsed() < kReportEveryMs)
            return;
        std::sort(m_late.begin(), m_late.end());
        const double p99 = m_late[std::min(m_late.size() - 1, m_late.size() * 99 / 100)];
        char line[128];
        std::snprintf(line, sizeof line, "probe latency p99=%.2f max=%.2f samples=%zu", p99, m_late.back(),
                      m_late.size());
        Print(line);
        m_late.clear();
        m_window.restart();
    }

    QTimer m_timer;
    QElapsedTimer m_last;
    QElapsedTimer m_window;
    std::vector<double> m_late;
};

} // namespace

bool Enabled()
{
    static const bool enabled = [] {
        const char* value = std::getenv("RAVELO_UI_PROBE");
        return value && (std::strcmp(value, "1") == 0 || std::strcmp(value, "latency") == 0);
    }();
    return enabled;
}

void WatchFirstPaint(QWidget* window)
{
    if (Enabled() && window)
        window->installEventFilter(new FirstPaintWatch(window));
}

void PageComplete(std::size_t tiles)
{
    if (!Enabled())
        return;
    char line[64];
    std::snprintf(line, sizeof line, "probe page-complete %zu", tiles);
    Print(line);
}

void StartLatencySampler()
{
    const char* value = std::getenv("RAVELO_UI_PROBE");
    if (value && std::strcmp(value, "latency") == 0)
        new LatencySampler(); // lives as long as the program
}

} // namespace ravelo::UiProbe
