#pragma once

#include "emulator/EmulatorHost.h"
#include "emulator/InputKind.h"

namespace ravelo {

/// What the game launcher asks of whoever drives it, on top of the registry's questions: the
/// control-method and multi-disc dialogs. Called on the thread that called the launcher's entry.
class LaunchHost : public EmulatorHost
{
public:
    /// The control-method dialog over owner: kInputKindGamepad (1), kInputKindKeyboard (2), or any
    /// other value when the user closed it (the launch is abandoned).
    virtual int ChooseInputKind(WindowHandle owner) = 0;

    /// The multi-disc dialog over owner for count discs (1 to 4): the chosen disc's 0-based index, or
    /// -1 when the user closed it.
    virtual int ChooseDisc(int count, WindowHandle owner) = 0;
};

} // namespace ravelo
