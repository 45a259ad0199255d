#pragma once

#include <string>

namespace ravelo::demoemu {

/// The demo emulator's settings file: key=value lines among which it keeps "launches" (a counter) and
/// "last_game". Every other line, comment and line ending is kept as it was.
class EmuSettingsFile
{
public:
    /// Any thread. The launch counter in the file at path; 0 when the file or the line is missing.
    static int Launches(const std::string& path);

    /// Any thread. Adds one to "launches" and sets "last_game", replacing their lines or appending them;
    /// creates a missing file. The file is replaced atomically, so a full disk leaves the old one. False
    /// with a message when it cannot be read or written, or the game name would break the line.
    static bool RecordLaunch(const std::string& path, const std::string& gameName, std::string& error);
};

} // namespace ravelo::demoemu
