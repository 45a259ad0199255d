#pragma once

#include "platform/Messages.h"

#include <cstdint>
#include <string>

namespace ravelo {

/// Emulator worker → settings window: a task ended. Payload EmulatorTaskDone.
constexpr std::uint32_t UM_SETTINGS_TASK_DONE = WM_USER + 151;

/// What the settings window's emulator worker did.
enum class EmulatorTask
{
    Load,      // read the installed emulators and the server's list
    Install,   // installed one listed emulator
    Update,    // checked one installed emulator for a newer version
    Uninstall, // removed one
    Reset,     // cleared user key folders
};

struct EmulatorTaskDone
{
    EmulatorTask task = EmulatorTask::Load;
    std::string emulatorId; // empty for Load and a reset of every emulator
    bool succeeded = false;
};

} // namespace ravelo
