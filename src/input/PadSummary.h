#pragma once

#include <array>
#include <cstdint>

namespace ravelo {

/// Which of the four user slots hold a pad (1) and which are empty (0). Payload of WM_PAD_SUMMARY,
/// whose wParam is the number of pads.
struct PadSummary
{
    std::array<std::uint32_t, 4> connected{};

    bool operator==(const PadSummary&) const = default;
};

} // namespace ravelo
