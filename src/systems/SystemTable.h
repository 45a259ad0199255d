#pragma once

#include <string>
#include <vector>

namespace ravelo {

/// The all-systems entry of filters; it names no folder and no emulator.
constexpr int kAllSystems = 0;

/// The code of a system number ("FC" for 125), or the empty text for a number not in the table.
/// Any thread; the table is constant.
std::string SystemNumberToCode(int number);

/// The number of a system code as decimal text ("125" for "FC"), or the empty text for a code that
/// names no playable system (the all-systems entry and "ANDROID" included). Exact, case-sensitive.
std::string SystemCodeToNumber(const std::string& code);

/// The system whose games are native programs that run without an emulator (138, "PC").
constexpr int kNativeSystem = 138;

/// Whether games of the system run without an emulator; the text form is the decimal number as
/// records carry it ("138").
bool IsNativeSystem(int number);
bool IsNativeSystem(const std::string& numberText);

/// The lower-case keys of the emulator list response, in the order the registry walks them.
const std::vector<std::string>& EmulatorListKeys();

} // namespace ravelo
