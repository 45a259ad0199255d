#include "server/SystemTable.h"

#include <array>

namespace ravelo::server {

namespace {

constexpr std::array<SystemInfo, 19> s_systems{{
    {119, "PS", "ps", 11},   {120, "GBA", "gba", 7},        {121, "SFC", "sfc", 3},
    {122, "MD", "md", 9},    {123, "MAME", "mame", 17},     {124, "GBC", "gbc", 6},
    {125, "FC", "fc", 2},    {126, "ARCADE", "arcade", 16}, {127, "NDS", "nds", 8},
    {128, "ANDROID", "", 0}, {129, "PSP", "psp", 13},       {130, "N64", "n64", 4},
    {131, "WSC", "wsc", 15}, {133, "DC", "dc", 10},         {138, "PC", "", 1},
    {140, "WII", "wii", 5},  {142, "PS2", "ps2", 12},       {146, "MAMEPLUS", "mameplus", 18},
    {148, "PCE", "pce", 14},
}};

constexpr std::array<std::string_view, 17> s_listKeys{"fc",  "sfc", "n64",    "wii",  "gbc",     "gba",
                                                      "nds", "md",  "dc",     "ps",   "ps2",     "psp",
                                                      "pce", "wsc", "arcade", "mame", "mameplus"};

} // namespace

std::span<const SystemInfo> Systems()
{
    return s_systems;
}

std::span<const std::string_view> EmulatorListKeys()
{
    return s_listKeys;
}

const SystemInfo* FindSystem(int number)
{
    for (const auto& system : s_systems) {
        if (system.number == number)
            return &system;
    }
    return nullptr;
}

int ResolveSystemFilter(int value)
{
    for (const auto& system : s_systems) {
        if (system.number == value || (system.filterIndex != 0 && system.filterIndex == value))
            return system.number;
    }
    return -1;
}

} // namespace ravelo::server
