#pragma once

#include "app/Engines.h"

#include <functional>
#include <string>

namespace ravelo {

/// Runs the main window (or a command of ravelo-cli) over the program's engines until it ends, and
/// returns the exit code.
using MainWindowRunner = std::function<int(Engines& engines)>;

/// Tells the user why the program cannot start (a message box, or a line on stderr).
using StartupFailureReport = std::function<void(const std::string& reason)>;

/// Exit codes of RunProgram besides the runner's own.
constexpr int kHttpLibraryFailed = -1;
constexpr int kDataFolderRefused = -2;

/// The whole life of the program: crash handler, HTTP library, locale and texts, paths, folders,
/// settings, the engines, then the main window, then shutdown in reverse: the engines end and join
/// their threads before the HTTP library is cleaned up. Returns the runner's code after a normal run,
/// kHttpLibraryFailed when the HTTP library cannot be initialised (before anything else was done),
/// and kDataFolderRefused when the private data folder cannot be made (reported through `report`,
/// or on stderr without one). Without a runner it stops after reading the settings.
/// Adjusts how the engines are made before they are (the windows give a picture decode check).
using EnginesSetupHook = std::function<void(Engines::Setup& setup)>;

int RunProgram(const MainWindowRunner& runMainWindow, const StartupFailureReport& report = nullptr,
               const EnginesSetupHook& adjustSetup = nullptr);

} // namespace ravelo
