#pragma once

namespace ravelo {

class Engines;

/// The program's windows over its engines: hands over to a program already running from the same
/// folder, else builds the prompt broker, the engines' questions, the game starter, the tiles'
/// actions and the main window, runs the main window until it closes, and ends them in reverse.
/// Returns the main window's code. UI thread, with a QApplication.
int RunWindows(Engines& engines);

} // namespace ravelo
