#include "systems/SystemTable.h"

#include <array>
#include <string_view>

namespace ravelo {
namespace {

struct SystemRow
{
    int number;
    std::string_view code;
    bool hasNumberLookup; // whether code-to-number answers for it
};

constexpr SystemRow kSystems[] = {
    {0, "全部机种", false}, {119, "PS", true},   {120, "GBA", true},      {121, "SFC", true},
    {122, "MD", true},      {123, "MAME", true}, {124, "GBC", true},      {125, "FC", true},
    {126, "ARCADE", true},  {127, "NDS", true},  {128, "ANDROID", false}, {129, "PSP", true},
    {130, "N64", true},     {131, "WSC", true},  {133, "DC", true},       {138, "PC", true},
    {140, "WII", true},     {142, "PS2", true},  {146, "MAMEPLUS", true}, {148, "PCE", true},
};

} // namespace

std::string SystemNumberToCode(int number)
{
    for (const SystemRow& row : kSystems)
        if (row.number == number)
            return std::string(row.code);
    return std::string();
}

std::string SystemCodeToNumber(const std::string& code)
{
    for (const SystemRow& row : kSystems)
        if (row.hasNumberLookup && row.code == code)
            return std::to_string(row.number);
    return std::string();
}

bool IsNativeSystem(int number)
{
    return number == kNativeSystem;
}

bool IsNativeSystem(const std::string& numberText)
{
    return numberText == std::to_string(kNativeSystem);
}

const std::vector<std::string>& EmulatorListKeys()
{
    static const std::vector<std::string> keys{"fc",  "sfc", "n64",    "wii",  "gbc",     "gba",
                                               "nds", "md",  "dc",     "ps",   "ps2",     "psp",
                                               "pce", "wsc", "arcade", "mame", "mameplus"};
    return keys;
}

} // namespace ravelo
