#include "gui/downloads/TransferRate.h"

#include <cmath>

namespace ravelo {
namespace {

constexpr auto kWindow = std::chrono::seconds(5);
constexpr auto kLeastSpan = std::chrono::seconds(1);

} // namespace

void TransferRate::Add(Clock::time_point now, double done)
{
    if (!m_samples.empty() && (done < m_samples.back().done || now < m_samples.back().at))
        m_samples.clear();
    m_samples.push_back({now, done});
    while (m_samples.size() > 2 && now - m_samples[1].at >= kWindow)
        m_samples.pop_front();
}

std::optional<double> TransferRate::BytesPerSecond() const
{
    if (m_samples.size() < 2)
        return std::nullopt;
    const auto span = m_samples.back().at - m_samples.front().at;
    if (span < kLeastSpan)
        return std::nullopt;
    const double seconds = std::chrono::duration<double>(span).count();
    return (m_samples.back().done - m_samples.front().done) / seconds;
}

std::optional<std::int64_t> TransferRate::SecondsLeft(double done, double total) const
{
    const std::optional<double> speed = BytesPerSecond();
    if (!speed || *speed < 1 || total <= 0 || done > total)
        return std::nullopt;
    return static_cast<std::int64_t>(std::ceil((total - done) / *speed));
}

} // namespace ravelo
