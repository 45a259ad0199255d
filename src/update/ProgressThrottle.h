#pragma once

#include <chrono>

namespace ravelo {

/// Lets progress reports through at most once per interval, so that a window receives a steady
/// trickle however often the transfer library reports. The first report and a final one always pass.
/// One thread.
class ProgressThrottle
{
public:
    using Clock = std::chrono::steady_clock;

    explicit ProgressThrottle(std::chrono::milliseconds interval = std::chrono::milliseconds(50))
        : m_interval(interval)
    {
    }

    /// Whether a report made at `now` goes out; final marks the one that completes the work.
    bool Admit(Clock::time_point now, bool final = false)
    {
        if (!final && m_any && now - m_last < m_interval)
            return false;
        m_any = true;
        m_last = now;
        return true;
    }

private:
    std::chrono::milliseconds m_interval;
    bool m_any = false;
    Clock::time_point m_last{};
};

} // namespace ravelo
