#pragma once

#include <string>

namespace ravelo {

/// Whether a name from outside (a game id, a system code, an emulator or archive name) may become one
/// part of a path: not empty, at most 128 bytes, not "." or "..", no separator ('/' or '\') and no
/// control character.
bool IsPlainName(const std::string& name);

} // namespace ravelo
