#include "platform/IniFile.h"

#include "platform/FileSystem.h"
#include "platform/TextConvert.h"

#include <algorithm>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace ravelo {
namespace {

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// "[name]" gives name; anything else gives false.
bool ParseSection(std::string_view line, std::string_view& name)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return false;
    const auto close = line.find(']');
    name = Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

bool ParseEntry(std::string_view line, std::string_view& key, std::string_view& value)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
        return false;
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = Trim(trimmed.substr(0, eq));
    value = Trim(trimmed.substr(eq + 1));
    return true;
}

// Holds an exclusive lock on the file's folder so that writers in other processes take turns.
class FolderLock
{
public:
    explicit FolderLock(const std::string& file)
    {
        const auto slash = file.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : file.substr(0, slash + 1);
        m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

private:
    int m_fd = -1;
};

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& fallback)
{
    std::string text;
    if (!ReadWholeFile(file, text))
        return fallback;
    bool inSection = false;
    for (const std::string& line : SplitLines(text)) {
        std::string_view name, k, v;
        if (ParseSection(line, name)) {
            inSection = EqualNoCase(name, section);
            continue;
        }
        if (!inSection || !ParseEntry(line, k, v) || !EqualNoCase(k, key))
            continue;
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return TruncateUtf8(std::string(v), kMaxProfileValueChars);
    }
    return fallback;
}

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value)
{
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
        return false;
    if (key.empty() || key.find('=') != std::string::npos || Trim(key) != key || section.empty() ||
        section.find(']') != std::string::npos || Trim(section) != section)
        return false;

    FolderLock lock(file);
    std::string text;
    ReadWholeFile(file, text); // a missing file is an empty one
    const bool crlf = text.find("\r\n") != std::string::npos;
    std::vector<std::string> lines = SplitLines(text);

    const std::string entry = key + "=" + value;
    std::ptrdiff_t sectionLine = -1, lastInSection = -1;
    bool written = false;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        std::string_view name, k, v;
        if (ParseSection(lines[i], name)) {
            if (sectionLine >= 0)
                break; // left our section without finding the key
            if (EqualNoCase(name, section))
                sectionLine = lastInSection = static_cast<std::ptrdiff_t>(i);
            continue;
        }
        if (sectionLine < 0)
            continue;
        if (!Trim(lines[i]).empty())
            lastInSection = static_cast<std::ptrdiff_t>(i);
        if (ParseEntry(lines[i], k, v) && EqualNoCase(k, key)) {
            lines[i] = entry;
            written = true;
        }
    }
    if (!written) {
        if (sectionLine >= 0) {
            lines.insert(lines.begin() + lastInSection + 1, entry);
        } else {
            lines.push_back("[" + section + "]");
            lines.push_back(entry);
        }
    }

    std::string out;
    const char* eol = crlf ? "\r\n" : "\n";
    for (const std::string& line : lines)
        out += line + eol;
    return WriteFileAtomically(file, out);
}

} // namespace ravelo
