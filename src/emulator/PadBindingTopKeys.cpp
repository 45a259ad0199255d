#include "emulator/PadBindingTopKeys.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace ravelo {

namespace {

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

bool WriteTopKey(const std::string& file, const std::string& key, const std::string& value)
{
    if (key.empty() || Trimmed(key) != key || key.find_first_of("=[\r\n") != std::string::npos ||
        value.find_first_of("\r\n") != std::string::npos)
        return false;
    std::string text;
    if (!ReadWholeFile(file, text) && FileExists(file))
        return false;

    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    const bool crlf = !lines.empty() && !lines.front().empty() && lines.front().back() == '\r';
    const std::string newLine = key + "=" + value + (crlf ? "\r" : "");

    std::ptrdiff_t insertAt = 0;
    bool replaced = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = Trimmed(lines[i]);
        if (!line.empty() && line.front() == '[')
            break;
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == ';' || equals == std::string::npos)
            continue;
        if (EqualNoCase(Trimmed(line.substr(0, equals)), key)) {
            lines[i] = newLine;
            replaced = true;
            break;
        }
        insertAt = static_cast<std::ptrdiff_t>(i) + 1;
    }
    if (!replaced)
        lines.insert(lines.begin() + insertAt, newLine);

    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += '\n';
    }
    return WriteFileAtomically(file, out);
}

} // namespace ravelo
