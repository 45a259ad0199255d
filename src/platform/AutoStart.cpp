#include "platform/AutoStart.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ravelo {

std::string AutoStartEntryPath()
{
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
        config = xdg;
    else
        config = std::string(std::getenv("HOME") ? std::getenv("HOME") : "") + "/.config";
    return WithTrailingSeparator(config) + "autostart/io.github.ravelo.Ravelo.desktop";
}

std::string DesktopExecArgument(const std::string& argument)
{
    std::string quoted = "\"";
    for (const char c : argument) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            return {};
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    // The Exec value is a string first: its backslashes are read as escapes before the quoting is.
    std::string escaped;
    for (const char c : quoted) {
        if (c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string AutoStartEntryText(const std::string& program)
{
    if (program.empty() || program.front() != '/')
        return {};
    const std::string exec = DesktopExecArgument(program);
    if (exec.empty())
        return {};
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Ravelo\n"
           "Comment=Start Ravelo with the desktop session\n"
           "Exec=" +
           exec +
           "\n"
           "Icon=io.github.ravelo.Ravelo\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool SetAutoRun(bool enabled, const std::string& program, std::string* error)
{
    const std::string path = AutoStartEntryPath();
    if (!enabled) {
        if (std::remove(path.c_str()) == 0 || errno == ENOENT)
            return true;
        if (error)
            *error = path + ": " + std::strerror(errno);
        return false;
    }
    const std::string text = AutoStartEntryText(program);
    if (text.empty()) {
        if (error)
            *error = "the program's path cannot be written into a desktop entry: " + program;
        return false;
    }
    CreateFolderChain(path);
    if (!WriteFileAtomically(path, text)) {
        if (error)
            *error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace ravelo
