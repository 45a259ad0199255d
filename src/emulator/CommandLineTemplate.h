#pragma once

#include <string>

namespace ravelo {

/// Any thread. The emulator's parameters from its command-line template and the quoted game path
/// ("\"/games/FC/1001/1001.nes\""): an empty template gives the quoted path; the first "~" becomes the
/// game's base name (after the last separator, without its extension and closing quote); else the
/// first "@" becomes the quoted path; else the quoted path follows the template directly (a template
/// that wants a blank before it ends with one).
std::string ApplyCommandLineTemplate(const std::string& commandTemplate, const std::string& quotedGamePath);

/// Any thread. The game path between double quotes.
std::string QuoteGamePath(const std::string& gamePath);

} // namespace ravelo
