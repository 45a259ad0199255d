#include "emulator/ConfigTextFile.h"

#include "platform/FileSystem.h"

namespace ravelo {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

enum class State
{
    LineStart,
    Comment,
    Name,
    BeforeValue,
    Value
};

} // namespace

void ConfigTextFile::Parse(std::string_view text, ConfigTextMap& map)
{
    map.insert_or_assign(std::string("!version"), std::string("1"));
    std::string name, value;
    State state = State::LineStart;
    for (char c : text) {
        switch (state) {
        case State::LineStart:
            if (IsBlank(c) || IsLineEnd(c))
                break;
            if (c == '#') {
                state = State::Comment;
                break;
            }
            name = std::string(1, c);
            value.clear();
            state = State::Name;
            break;
        case State::Comment:
            if (IsLineEnd(c))
                state = State::LineStart;
            break;
        case State::Name:
        case State::BeforeValue:
        case State::Value:
            if (IsLineEnd(c)) {
                map[name] = value;
                state = State::LineStart;
            } else if (state == State::Name) {
                if (IsBlank(c))
                    state = State::BeforeValue;
                else
                    name += c;
            } else if (state == State::BeforeValue) {
                if (!IsBlank(c)) {
                    value = std::string(1, c);
                    state = State::Value;
                }
            } else {
                value += c;
            }
            break;
        }
    }
    // The emulator's own reader stores the last pair once more at the end of the file, which gives a
    // file without pairs an empty name; keep doing the same so files round-trip alike.
    map[name] = value;
}

std::string ConfigTextFile::Format(const ConfigTextMap& map)
{
    std::string text;
    for (const auto& [name, value] : map) {
        text += name;
        text += ' ';
        text += value;
        text += '\n';
    }
    return text;
}

bool ConfigTextFile::Read(const std::string& path, ConfigTextMap& map)
{
    std::string text;
    if (!ReadWholeFile(path, text))
        return false;
    Parse(text, map);
    return true;
}

bool ConfigTextFile::Write(const std::string& path, const ConfigTextMap& map)
{
    return WriteFileAtomically(path, Format(map));
}

} // namespace ravelo
