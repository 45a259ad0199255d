#pragma once

#include <string>

namespace ravelo {

/// Longest suggestion and contact the service takes, in characters (code points).
constexpr int kSuggestionMaxChars = 500;
constexpr int kSuggestionContactMaxChars = 100;

/// The body of a suggestion: "model=user&action=suggestion&clientparams=...&uid=...&content=...&contact=..."
/// with every value (UTF-8) percent-encoded.
std::string SuggestionBody(const std::string& uid, const std::string& content, const std::string& contact);

/// Sends a user's suggestion (UTF-8) and an optional contact to the catalogue service. Runs on the
/// caller's worker thread and blocks up to 10 s. True when the service kept it; otherwise false with a
/// short Chinese reason in failure (the service's own message when it gave one).
bool SendSuggestion(const std::string& content, const std::string& contact, std::string& failure);

} // namespace ravelo
