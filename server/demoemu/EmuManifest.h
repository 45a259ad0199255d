#pragma once

#include <string>

namespace ravelo::demoemu {

/// What the package tells the demo emulator about itself, from "demo-emu.ini" in its folder: lines of
/// key=value, "#" and ";" comments. Paths are relative to the emulator's folder.
struct EmuManifest
{
    static constexpr const char* kFileName = "demo-emu.ini";

    std::string title = "Ravelo 演示模拟器"; ///< the window title
    std::string system;                      ///< the system code shown ("FC")
    std::string keyFile;                     ///< the key file the launcher puts in place
    std::string keyFormat = "text";          ///< "text" (name value lines) or "ini"
    std::string settingsFile;                ///< the settings file this program changes

    /// Any thread. Reads the manifest at path; false with a message when it cannot be read or a key
    /// file or settings file names a path outside the folder. Unknown keys are ignored.
    static bool Read(const std::string& path, EmuManifest& manifest, std::string& error);
};

} // namespace ravelo::demoemu
