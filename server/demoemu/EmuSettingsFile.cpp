#include "EmuSettingsFile.h"

#include "platform/FileSystem.h"

#include <cstdlib>
#include <vector>

namespace ravelo::demoemu {

namespace {

struct SettingsLines
{
    std::vector<std::string> lines; ///< without their '\n'; a CR stays with its line
    bool endsWithNewLine = true;
};

SettingsLines Split(const std::string& text)
{
    SettingsLines split;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            split.lines.push_back(text.substr(start));
            split.endsWithNewLine = false;
            break;
        }
        split.lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return split;
}

/// The line's value when it sets key (blanks around the name allowed), else false.
bool ValueOf(const std::string& line, const std::string& key, std::string& value)
{
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line.compare(first, key.size(), key) != 0)
        return false;
    const std::size_t equals = line.find_first_not_of(" \t", first + key.size());
    if (equals == std::string::npos || line[equals] != '=')
        return false;
    value = line.substr(equals + 1);
    if (!value.empty() && value.back() == '\r')
        value.pop_back();
    return true;
}

} // namespace

int EmuSettingsFile::Launches(const std::string& path)
{
    std::string text;
    if (!ReadWholeFile(path, text))
        return 0;
    std::string value;
    for (const std::string& line : Split(text).lines) {
        if (ValueOf(line, "launches", value))
            return std::atoi(value.c_str());
    }
    return 0;
}

bool EmuSettingsFile::RecordLaunch(const std::string& path, const std::string& gameName, std::string& error)
{
    if (gameName.find_first_of("\r\n") != std::string::npos) {
        error = "游戏名称含有换行，无法写入设置文件: " + path;
        return false;
    }
    std::string text;
    if (!ReadWholeFile(path, text) && FileExists(path)) {
        error = "无法读取设置文件: " + path;
        return false;
    }
    SettingsLines split = Split(text);
    const bool crlf =
        !split.lines.empty() && !split.lines.front().empty() && split.lines.front().back() == '\r';
    const std::string end = crlf ? "\r" : "";

    bool counted = false;
    bool named = false;
    std::string value;
    for (std::string& line : split.lines) {
        const std::string own = !line.empty() && line.back() == '\r' ? "\r" : "";
        if (!counted && ValueOf(line, "launches", value)) {
            line = "launches=" + std::to_string(std::atoi(value.c_str()) + 1) + own;
            counted = true;
        } else if (!named && ValueOf(line, "last_game", value)) {
            line = "last_game=" + gameName + own;
            named = true;
        }
    }
    const std::size_t originalLines = split.lines.size();
    if (!counted)
        split.lines.push_back("launches=1" + end);
    if (!named)
        split.lines.push_back("last_game=" + gameName + end);
    const bool appended = split.lines.size() != originalLines;

    std::string out;
    for (std::size_t i = 0; i < split.lines.size(); ++i) {
        out += split.lines[i];
        const bool last = i + 1 == split.lines.size();
        if (!last || split.endsWithNewLine || appended) {
            // The file's own last line gains the end it lacked when our lines follow it.
            if (i + 1 == originalLines && !split.endsWithNewLine)
                out += end;
            out += '\n';
        }
    }
    if (!WriteFileAtomically(path, out)) {
        error = "无法写入设置文件: " + path;
        return false;
    }
    return true;
}

} // namespace ravelo::demoemu
