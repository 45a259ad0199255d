#include "gui/play/PadTestView.h"

namespace ravelo {

std::uint16_t MotorSpeed(std::uint8_t trigger)
{
    return trigger == 0 ? 0 : static_cast<std::uint16_t>(trigger * 256 + 255);
}

bool TriggerLit(std::uint8_t trigger)
{
    return trigger > kTriggerLampThreshold;
}

std::pair<int, int> ApplyDeadZone(int x, int y)
{
    const auto inside = [](int axis) { return axis > -kStickDeadZone && axis < kStickDeadZone; };
    if (inside(x) && inside(y))
        return {0, 0};
    return {x, y};
}

std::pair<int, int> KnobOffset(int x, int y, int margin)
{
    const float travel = static_cast<float>(margin - 4);
    return {static_cast<int>(static_cast<float>(x) / 32768.0f * travel),
            -static_cast<int>(static_cast<float>(y) / 32768.0f * travel)};
}

std::optional<std::size_t> SlotToShow(const PadSummary& summary, std::optional<std::size_t> selected)
{
    if (selected && *selected < summary.connected.size() && summary.connected[*selected])
        return selected;
    for (std::size_t slot = 0; slot < summary.connected.size(); ++slot)
        if (summary.connected[slot])
            return slot;
    return std::nullopt;
}

} // namespace ravelo
