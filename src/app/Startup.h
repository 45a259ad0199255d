#pragma once

#include <functional>

namespace ravelo {

/// Runs the main window until it closes and returns its exit code.
using MainWindowRunner = std::function<int()>;

/// The whole life of the program: crash handler, HTTP library, locale, paths, folders, settings,
/// then the main window, then shutdown in reverse. Returns 0 after a normal run and -1 when the
/// HTTP library cannot be initialised (before anything else was done). Without a runner it stops
/// after reading the settings.
int RunProgram(const MainWindowRunner& runMainWindow);

} // namespace ravelo
