#include "cli/ProgressLine.h"

#include "platform/Translate.h"

#include <cstdio>

namespace ravelo::cli {

std::string ProgressLine::Megabytes(double bytes)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.2fM", static_cast<float>(bytes / 1048576.0));
    return text;
}

void ProgressLine::Show(const DownloadProgress& p)
{
    const auto now = std::chrono::steady_clock::now();
    if (p.state == TaskStatus::Downloading && m_lastState == TaskStatus::Downloading &&
        p.done >= m_lastDone) {
        const double seconds = std::chrono::duration<double>(now - m_lastTime).count();
        if (seconds > 0.2) {
            const double rate = (p.done - m_lastDone) / seconds;
            m_speed = m_speed == 0 ? rate : 0.7 * m_speed + 0.3 * rate;
            m_lastDone = p.done;
            m_lastTime = now;
        }
    } else {
        m_lastDone = p.done;
        m_lastTime = now;
    }

    const double fraction = p.total > 0 ? p.done / p.total : 0;
    const int width = 24;
    const int filled = static_cast<int>(fraction * width);
    const std::string bar = "[" + std::string(filled, '#') + std::string(width - filled, '.') + "]";
    char percent[16];
    std::snprintf(percent, sizeof(percent), "%3d%%", static_cast<int>(fraction * 100));

    std::string text;
    switch (p.state) {
    case TaskStatus::Downloading:
        text = Tr("下载中 ") + bar + " " + percent + " " + Megabytes(p.done) + "/" + Megabytes(p.total);
        if (m_speed > 0)
            text += " " + Megabytes(m_speed) + "/s";
        if (p.multiVolume)
            text += Tr(" 分卷 ") + std::to_string(p.currentVolume) + "/" + std::to_string(p.volumeCount);
        break;
    case TaskStatus::Unpacking:
        text = Tr("解压中 ") + bar + " " + percent + " " + Megabytes(p.done) + "/" + Megabytes(p.total);
        break;
    case TaskStatus::Waiting:
        text = Tr("等待下载");
        break;
    default:
        return;
    }
    const int tenth = static_cast<int>(fraction * 10);
    const bool changed = p.state != m_lastState || tenth != m_lastTenth;
    m_lastState = p.state;
    m_lastTenth = tenth;
    if (m_terminal || changed)
        Emit(text, m_terminal);
}

void ProgressLine::Emit(const std::string& text, bool transient)
{
    if (transient) {
        std::fprintf(stderr, "\r%s\033[K", text.c_str());
        m_open = true;
    } else {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    std::fflush(stderr);
}

void ProgressLine::Finish()
{
    if (m_open)
        std::fputc('\n', stderr);
    m_open = false;
}

} // namespace ravelo::cli
