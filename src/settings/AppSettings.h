#pragma once

#include "settings/AppPaths.h"

#include <string>

namespace ravelo {

/// The "Set" section of the settings file. A plain value: every construction reads the file anew.
/// Flags are the texts "1" and "0", compared exactly.
struct AppSettings
{
    std::string RomPath;        // games folder with trailing separator; empty: not chosen yet
    std::string HandleType;     // "1" gamepad, "2" keyboard, "0" ask on first launch
    std::string UpdateType;     // anything but "0": check for updates when the main window opens
    std::string ShowKeyMapTips; // "1": show the key-map tips when a game starts
    std::string AutoRun;        // "1": start with the desktop session
    std::string IsTray;         // "1": the close button hides to the tray
    std::string Language;       // "zh_CN", "en", ...; empty: the environment's. Read at start-up

    explicit AppSettings(const std::string& file = SettingsFilePath);

    /// Writes all seven keys, even unchanged ones. A failed write is not reported.
    void Save() const;
    /// Writes only the keys whose value differs from before (the same file read earlier), so that a
    /// value another process wrote meanwhile is not overwritten by a stale copy. False when a write
    /// failed; the other keys are still written.
    bool SaveChanges(const AppSettings& before) const;

private:
    std::string m_file;
};

} // namespace ravelo
