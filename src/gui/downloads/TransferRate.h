#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>

namespace ravelo {

/// Estimates a download's speed from its progress reports: bytes over the last few seconds, so that
/// one slow or fast moment does not swing the figure. Pure; the caller gives the time of each report.
class TransferRate
{
public:
    using Clock = std::chrono::steady_clock;

    /// A report of `done` bytes at `now`. Bytes that go down (a new volume, a restart) start afresh.
    void Add(Clock::time_point now, double done);
    /// Forgets every report (the download stopped).
    void Reset() { m_samples.clear(); }
    /// Bytes per second, once reports span at least a second; nothing before.
    std::optional<double> BytesPerSecond() const;
    /// Seconds until `total` at the current speed; nothing while the speed is unknown or zero.
    std::optional<std::int64_t> SecondsLeft(double done, double total) const;

private:
    struct Sample
    {
        Clock::time_point at;
        double done = 0;
    };
    std::deque<Sample> m_samples;
};

} // namespace ravelo
