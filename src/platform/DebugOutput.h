#pragma once

#include <string>

namespace ravelo {

/// Diagnostic text (status lines, raw answers, parser errors). Goes to stderr when RAVELO_DEBUG=1
/// and nowhere otherwise; there is no log file.
void DebugOutput(const std::string& text);

} // namespace ravelo
