#pragma once

#include "settings/AppSettings.h"
#include "store/EmulatorInfo.h"

#include <string>

namespace ravelo {

/// Which options of the general and download-and-update pages are selected. A pair of which neither
/// is selected leaves its setting as it was when written back.
struct SettingsOptions
{
    bool autoRun = false;
    bool tray = false, exit = false;
    bool xinput = false, keyboard = false;
    bool showKeyMap = false, hideKeyMap = false;
    bool autoUpdate = false, manualUpdate = false;
    bool padExitCombo = true;
    /// The interface language: the system's, Chinese or English; none selected keeps the setting.
    bool languageSystem = false, languageChinese = false, languageEnglish = false;
};

/// The options that show the settings: "1"/"0" (or "1"/"2" for HandleType) select one of a pair,
/// any other value neither; UpdateType "0" is manual and any other value automatic. padExitCombo is
/// the "Set/PadExitCombo" text ("0" switches the combo off).
SettingsOptions OptionsFromSettings(const AppSettings& settings, const std::string& padExitCombo);

/// Writes the options back into settings: a selected option gives its value, a pair with neither
/// selected keeps the setting's value, and so does automatic updates over an UpdateType that already
/// means automatic ("2" stays "2").
void ApplyOptions(const SettingsOptions& options, AppSettings& settings);

/// The "Set/PadExitCombo" text for the switch.
std::string PadExitComboValue(const SettingsOptions& options);

/// The games folder proposed on the first start: home + "/Games/" (home "" or "/" gives "/Games/").
std::string ProposedGamesFolder(const std::string& home);

/// The games folder for a folder the user picked: with a trailing '/', and "Games/" appended when the
/// folder is the root of a mounted file system (the root folder, a disk, a stick), so that games do
/// not land loose at the top of a disk. Empty for an empty or relative path.
std::string GamesFolderForChoice(const std::string& chosen);

/// Creates folder with its parents and checks that a file can be created in it. False with a reason
/// (the system's) when it cannot; the folders made on the way are left.
bool PrepareGamesFolder(const std::string& folder, std::string* reason = nullptr);

/// The description of an emulator item: name, version, update date and the notes, one per line.
std::string EmulatorDescription(const EmulatorInfo& record);

/// The version line of an emulator item ("版本：1.2.3"), and its date line ("更新：2024-05-01").
std::string EmulatorVersionLine(const EmulatorInfo& record);
std::string EmulatorDateLine(const EmulatorInfo& record);

} // namespace ravelo
