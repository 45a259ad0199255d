#pragma once

#include "download/DownloadMessages.h"

#include <chrono>
#include <string>

namespace ravelo::cli {

/// The terminal's view of a download: one line redrawn in place on a terminal, or a line per change
/// of state (and every 10%) when the output goes to a file.
class ProgressLine
{
public:
    explicit ProgressLine(bool terminal) : m_terminal(terminal) {}

    void Show(const DownloadProgress& progress);
    /// Ends the redrawn line so that the next output starts on a line of its own.
    void Finish();

    /// "12.30M" style sizes, as the download centre shows them.
    static std::string Megabytes(double bytes);

private:
    void Emit(const std::string& text, bool transient);

    bool m_terminal;
    bool m_open = false;
    TaskStatus m_lastState = TaskStatus::None;
    int m_lastTenth = -1;
    double m_speed = 0;
    double m_lastDone = 0;
    std::chrono::steady_clock::time_point m_lastTime{};
};

} // namespace ravelo::cli
