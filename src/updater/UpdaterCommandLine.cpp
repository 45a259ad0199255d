#include "updater/UpdaterCommandLine.h"

#include "platform/PlainName.h"

#include <charconv>

namespace ravelo {
namespace {

template <typename T>
bool ReadNumber(const std::string& text, T& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

std::optional<UpdaterCommandLine> ParseUpdaterCommandLine(const std::vector<std::string>& arguments,
                                                          std::string& error)
{
    UpdaterCommandLine line;
    bool pidGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (i + 1 >= arguments.size()) {
            error = "missing value of " + option;
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        if (option == "--install" && line.installFolder.empty()) {
            line.installFolder = value;
        } else if (option == "--wait" && !pidGiven) {
            pidGiven = ReadNumber(value, line.waitPid) && line.waitPid > 0;
            if (!pidGiven) {
                error = "not a process id: " + value;
                return std::nullopt;
            }
        } else if (option == "--start" && line.program.empty()) {
            line.program = value;
        } else if (option == "--from" && line.sourceFolder.empty()) {
            line.sourceFolder = value;
        } else if (option == "--timeout") {
            if (!ReadNumber(value, line.timeoutSeconds) || line.timeoutSeconds <= 0) {
                error = "not a number of seconds: " + value;
                return std::nullopt;
            }
        } else {
            error = "unknown or repeated option " + option;
            return std::nullopt;
        }
    }
    if (line.installFolder.empty() || line.installFolder.front() != '/' || !pidGiven ||
        line.program.empty()) {
        error =
            "usage: ravelo-update --install DIR --wait PID --start PROGRAM [--from DIR] [--timeout SECONDS]";
        return std::nullopt;
    }
    // The program is started from the install: a name inside it, never a path that leaves it.
    if (!IsPlainName(line.program)) {
        error = "not a program name: " + line.program;
        return std::nullopt;
    }
    return line;
}

} // namespace ravelo
