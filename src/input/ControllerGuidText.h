#pragma once

#include "input/ControllerRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace ravelo {

/// The all-zero identity text written when there is no pad at an index.
inline constexpr const char* kNoControllerGuidText = "00000000-0000-0000-0000-000000000000";

/// Any thread. Writes 16 identity bytes as 36 upper-case hex digits with hyphens and no braces, reading
/// the bytes as a GUID laid out in memory: a little-endian 32-bit field, two little-endian 16-bit fields,
/// then eight bytes in order. Never fails.
std::string GuidText(const std::array<std::uint8_t, 16>& bytes);

/// Any thread. The identity text of the record at index, or the all-zero text when index is outside the
/// list (an empty list included); never fails.
std::string ControllerGuidText(const ControllerList& controllers, std::size_t index);

} // namespace ravelo
