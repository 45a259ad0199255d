#include "emulator/PadBinding.h"

#include "emulator/ConfigTextFile.h"
#include "emulator/ConfigTextFileTable.h"
#include "emulator/EmulatorConfig.h"
#include "emulator/PadBindingTopKeys.h"
#include "input/ControllerGuidText.h"
#include "input/InputThread.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"

#include <algorithm>
#include <mutex>

namespace ravelo {

namespace {

constexpr char kTableSettingsEmulator[] = "1250001";
constexpr char kDirectInputIniEmulator[] = "1300001";
constexpr char kJoystickUsingEmulator[] = "1220001";
constexpr char kGamePadConfig[] = "GamePadConfig";

// The table-driven emulator's settings, of which we carry only the pad block: every other line of its
// file is written back as read. Process-wide, like the emulator's own table: a file without the block
// receives the one read last.
std::mutex s_tableLock;

ConfigTextFileTable& Table()
{
    static ConfigTextFileTable table = [] {
        ConfigTextFileTable t;
        t.Add(kGamePadConfig, PadBinding::kGamePadConfigBytes);
        return t;
    }();
    return table;
}

} // namespace

bool PadBinding::BindControllers(const EmulatorInfo& record, const std::string& emulatorFolder,
                                 InputThread& input)
{
    if (record.EmulatorId != kTableSettingsEmulator && record.EmulatorId != kDirectInputIniEmulator &&
        record.EmulatorId != kJoystickUsingEmulator)
        return false;
    if (record.KeyConfig.empty())
        return false;
    return BindControllerList(record, emulatorFolder, input.EnumerateControllers(true));
}

bool PadBinding::BindControllerList(const EmulatorInfo& record, const std::string& emulatorFolder,
                                    const ControllerList& pads)
{
    if (record.KeyConfig.empty())
        return false;
    const std::string file = EmulatorConfig::ContainedPath(emulatorFolder, record.KeyConfig.front().Target);
    if (file.empty()) {
        DebugOutput("PadBinding: no usable key file for emulator " + record.EmulatorId);
        return false;
    }
    if (record.EmulatorId == kTableSettingsEmulator)
        return BindTableSettings(file, pads);
    if (record.EmulatorId == kDirectInputIniEmulator)
        return BindDirectInputIni(file, pads);
    if (record.EmulatorId == kJoystickUsingEmulator)
        return BindJoystickUsing(file, pads);
    return false;
}

std::vector<std::uint8_t> PadBinding::GamePadConfigSnapshot()
{
    std::lock_guard lock(s_tableLock);
    return *Table().Storage(kGamePadConfig);
}

bool PadBinding::BindTableSettings(const std::string& file, const ControllerList& pads)
{
    std::lock_guard lock(s_tableLock);
    ConfigTextFileTable& table = Table();
    ConfigTextMap map;
    if (!ConfigTextFile::Read(file, map)) {
        // A file that exists but cannot be read would lose every line we do not carry: leave it.
        if (FileExists(file))
            return false;
        ConfigTextFile::Parse({}, map);
        map.erase(std::string());
    }
    table.Decode(map);

    std::vector<std::uint8_t>& block = *table.Storage(kGamePadConfig);
    const std::size_t bound = std::min(pads.size(), kGamepads);
    for (std::size_t pad = 0; pad < bound; ++pad)
        for (std::size_t button = 0; button < kButtonsPerPad; ++button) {
            const std::size_t at = (pad * kButtonsPerPad + button) * kButtonRecordBytes + kGuidOffset;
            std::copy(pads[pad].instanceGuid.begin(), pads[pad].instanceGuid.end(),
                      block.begin() + static_cast<std::ptrdiff_t>(at));
        }

    table.Encode(map);
    return ConfigTextFile::Write(file, map);
}

bool PadBinding::BindDirectInputIni(const std::string& file, const ControllerList& pads)
{
    if (pads.empty() || pads.size() > 2)
        return false;
    bool written = WriteProfileString(file, "DirectInput-Controller 0", "GUID", ControllerGuidText(pads, 0));
    if (pads.size() == 2)
        written = WriteProfileString(file, "DirectInput-Controller 1", "GUID", ControllerGuidText(pads, 1)) &&
                  written;
    return written;
}

bool PadBinding::BindJoystickUsing(const std::string& file, const ControllerList& pads)
{
    if (pads.empty() || pads.size() > 2)
        return false;
    bool written = WriteTopKey(file, "Joystick1Using", "2");
    if (pads.size() == 2)
        written = WriteTopKey(file, "Joystick2Using", "3") && written;
    return written;
}

} // namespace ravelo
