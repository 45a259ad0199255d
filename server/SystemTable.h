#pragma once

#include <span>
#include <string_view>

namespace ravelo::server {

/// A console system as the client knows it.
struct SystemInfo
{
    int number;            ///< e.g. 125
    std::string_view code; ///< e.g. "FC"
    std::string_view key;  ///< the key of its array in the emulator list; empty when it has none
    int filterIndex;       ///< position in the client's system grid (1 PC, 2 FC, ...); 0 when absent
};

/// Every system, in number order.
std::span<const SystemInfo> Systems();

/// The keys of the emulator list in the order the client walks them.
std::span<const std::string_view> EmulatorListKeys();

/// The system with this number, or null.
const SystemInfo* FindSystem(int number);

/// The system number for a filter value: a system number stands for itself, a small number is a
/// position in the client's system grid (1 PC, 2 FC, ...). -1 when it is neither.
int ResolveSystemFilter(int value);

} // namespace ravelo::server
