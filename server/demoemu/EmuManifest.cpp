#include "EmuManifest.h"

#include "platform/FileSystem.h"

namespace ravelo::demoemu {

namespace {

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

/// A name inside the emulator folder: relative, without ".." parts.
bool InsideFolder(const std::string& name)
{
    if (name.empty())
        return true;
    if (name.front() == '/')
        return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos)
            end = name.size();
        if (name.compare(start, end - start, "..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

bool EmuManifest::Read(const std::string& path, EmuManifest& manifest, std::string& error)
{
    std::string text;
    if (!ReadWholeFile(path, text)) {
        error = "无法读取模拟器清单: " + path;
        return false;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || line.front() == ';' || equals == std::string::npos)
            continue;
        const std::string key = Trimmed(line.substr(0, equals));
        const std::string value = Trimmed(line.substr(equals + 1));
        if (key == "title")
            manifest.title = value;
        else if (key == "system")
            manifest.system = value;
        else if (key == "keyfile")
            manifest.keyFile = value;
        else if (key == "keyformat")
            manifest.keyFormat = value;
        else if (key == "settingsfile")
            manifest.settingsFile = value;
    }
    if (!InsideFolder(manifest.keyFile) || !InsideFolder(manifest.settingsFile)) {
        error = "模拟器清单中的文件不在模拟器文件夹内: " + path;
        return false;
    }
    return true;
}

} // namespace ravelo::demoemu
