#include "EmuCommandLine.h"

#include "platform/FileSystem.h"

#include <charconv>

namespace ravelo::demoemu {

namespace {

bool ParseExitCode(const std::string& text, int& code)
{
    const char* end = text.data() + text.size();
    const auto [at, failure] = std::from_chars(text.data(), end, code);
    return failure == std::errc() && at == end && code >= 0 && code <= 255;
}

} // namespace

EmuCommandLine EmuCommandLine::Parse(const std::vector<std::string>& args, const char* headlessEnv,
                                     const char* exitCodeEnv)
{
    EmuCommandLine line;
    line.headless = headlessEnv && std::string(headlessEnv) == "1";
    if (exitCodeEnv && *exitCodeEnv && !ParseExitCode(exitCodeEnv, line.exitCode))
        line.error = std::string("无效的退出码: ") + exitCodeEnv;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--exit-code" || arg == "--screenshot" || arg == "--game" ||
                                arg == "--load" || arg == "-rom" || arg == "--scale";
        if (takesValue && i + 1 >= args.size()) {
            line.error = "参数 " + arg + " 缺少取值";
            break;
        }
        if (arg == "--headless") {
            line.headless = true;
        } else if (arg == "--exit-code") {
            if (!ParseExitCode(args[++i], line.exitCode))
                line.error = "无效的退出码: " + args[i];
        } else if (arg == "--screenshot") {
            line.screenshot = args[++i];
        } else if (arg == "--game" || arg == "--load" || arg == "-rom") {
            line.game = args[++i];
        } else if (takesValue) {
            ++i; // display options of a real emulator: accepted, nothing to do
        } else if (!arg.empty() && arg.front() == '-') {
            continue; // flags such as --fullscreen
        } else if (line.game.empty()) {
            line.game = arg;
        }
    }
    return line;
}

std::string EmuCommandLine::ResolveGame(const std::string& game, const std::string& emulatorFolder,
                                        const std::string& workingFolder)
{
    if (game.empty())
        return {};
    if (game.find('/') != std::string::npos) {
        const std::string path = game.front() == '/' ? game : workingFolder + game;
        return FileExists(path) ? path : std::string();
    }
    if (game == "." || game == "..")
        return {};
    for (const std::string& candidate :
         {emulatorFolder + "roms/" + game, emulatorFolder + "roms/" + game + ".zip", workingFolder + game}) {
        if (FileExists(candidate))
            return candidate;
    }
    return {};
}

} // namespace ravelo::demoemu
