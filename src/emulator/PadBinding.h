#pragma once

#include "input/ControllerRecord.h"
#include "store/EmulatorInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ravelo {

class InputThread;

/// Writes the identities of the attached pads into the configuration of the emulators that bind
/// controllers by identity, before a gamepad game. The file is the target of the record's first
/// key-binding entry, inside the emulator folder; records without one, and other emulators, are left
/// alone. Every failure is silent (the game still starts with the emulator's own bindings).
class PadBinding
{
public:
    static constexpr std::size_t kGamepads = 4;
    static constexpr std::size_t kButtonsPerPad = 10;
    static constexpr std::size_t kButtonRecordBytes = 84;
    static constexpr std::size_t kGuidOffset = 20;
    static constexpr std::size_t kGamePadConfigBytes = kGamepads * kButtonsPerPad * kButtonRecordBytes;

    /// Launch or stand-alone thread. Lists the attached pads through input and binds them; returns
    /// false when nothing was written (another emulator, no file, a write that failed).
    static bool BindControllers(const EmulatorInfo& record, const std::string& emulatorFolder,
                                InputThread& input);

    /// Any thread. The same with a list already taken; pads beyond what the emulator holds are ignored.
    static bool BindControllerList(const EmulatorInfo& record, const std::string& emulatorFolder,
                                   const ControllerList& pads);

    /// Any thread. A copy of the process-wide GamePadConfig block the table-driven binding keeps.
    static std::vector<std::uint8_t> GamePadConfigSnapshot();

private:
    static bool BindTableSettings(const std::string& file, const ControllerList& pads);
    static bool BindDirectInputIni(const std::string& file, const ControllerList& pads);
    static bool BindJoystickUsing(const std::string& file, const ControllerList& pads);
};

} // namespace ravelo
