#pragma once

#include <string>
#include <vector>

namespace ravelo::demoemu {

/// How the demo emulator was asked to run. The game comes as the first plain argument or as the value
/// of --game, --load or -rom (the forms the catalogue's command-line templates produce).
struct EmuCommandLine
{
    bool headless = false;
    int exitCode = 0;
    std::string screenshot; ///< PNG to render the window into, then exit
    std::string game;       ///< the game as given; empty when none was
    std::string error;      ///< set when the arguments cannot be used

    /// Any thread. Parses the arguments after the program name; headlessEnv and exitCodeEnv are the
    /// values of RAVELO_DEMO_EMU_HEADLESS and RAVELO_DEMO_EMU_EXIT_CODE (null when unset), which the
    /// command line overrides. Never throws; a bad value sets error.
    static EmuCommandLine Parse(const std::vector<std::string>& args, const char* headlessEnv,
                                const char* exitCodeEnv);

    /// Any thread. The file the game names: a path (absolute, or relative to workingFolder), or a bare
    /// name looked up in the emulator folder's "roms/" (as given, then with ".zip") and then in the
    /// working folder. Empty when there is no such file. Both folders end in '/'.
    static std::string ResolveGame(const std::string& game, const std::string& emulatorFolder,
                                   const std::string& workingFolder);
};

} // namespace ravelo::demoemu
