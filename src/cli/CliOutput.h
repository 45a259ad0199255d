#pragma once

#include <string>

namespace ravelo {
class CGame;
}

namespace ravelo::cli {

/// A value made safe for one tab-separated field: tabs and line breaks become spaces.
std::string Field(const std::string& text);
std::string Field(const std::u16string& text);

/// One game on one line: id, name, system short name, size, separated by tabs.
void PrintGameLine(const CGame& game);

/// "label<TAB>value" on one line.
void PrintDetail(const std::string& label, const std::string& value);

/// One line on stderr.
void PrintError(const std::string& message);

} // namespace ravelo::cli
