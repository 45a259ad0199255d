#pragma once

#include <string>

namespace ravelo {

// Starting the program with the desktop session: an XDG autostart entry, written as plain text so
// that the desktop reads exactly what the desktop-entry rules say.

/// Any thread. $XDG_CONFIG_HOME/autostart/ravelo.desktop ($HOME/.config when the variable is unset
/// or not absolute).
std::string AutoStartEntryPath();

/// Any thread. One argument of an Exec line: in double quotes with '"', '`', '$' and '\' escaped by a
/// backslash, '%' doubled, and then every backslash doubled again for the file's string escapes.
/// Empty when the argument holds a line break or another control character, which no Exec line can
/// carry.
std::string DesktopExecArgument(const std::string& argument);

/// Any thread. The whole entry that starts program (an absolute path); empty when the path cannot be
/// written into an Exec line.
std::string AutoStartEntryText(const std::string& program);

/// Any thread. enabled: writes the entry for program (creating the autostart folder), replacing the
/// file atomically; otherwise removes it (a missing entry is fine). False with a reason in error when
/// the entry could not be written or removed.
bool SetAutoRun(bool enabled, const std::string& program, std::string* error = nullptr);

} // namespace ravelo
