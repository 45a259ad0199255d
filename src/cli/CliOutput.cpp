#include "cli/CliOutput.h"

#include "platform/TextConvert.h"
#include "service/CGame.h"

#include <cstdio>

namespace ravelo::cli {

std::string Field(const std::string& text)
{
    std::string field = text;
    for (char& c : field)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return field;
}

std::string Field(const std::u16string& text)
{
    try {
        return Field(Utf16ToUtf8(text));
    } catch (const TextConversionError&) {
        return "?";
    }
}

void PrintGameLine(const CGame& game)
{
    const std::string line = Field(game.gameid) + "\t" + Field(game.gamename) + "\t" +
                             Field(game.emulatorshortname) + "\t" + Field(game.size) + "\n";
    std::fputs(line.c_str(), stdout);
}

void PrintDetail(const std::string& label, const std::string& value)
{
    const std::string line = label + "\t" + Field(value) + "\n";
    std::fputs(line.c_str(), stdout);
}

void PrintError(const std::string& message)
{
    const std::string line = Field(message) + "\n";
    std::fputs(line.c_str(), stderr);
}

} // namespace ravelo::cli
