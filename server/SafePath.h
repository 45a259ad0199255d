#pragma once

#include <optional>
#include <string>

namespace ravelo::server {

/// Turns the decoded path of a request, relative to a served folder, into a path inside that
/// folder, or nothing when it could leave it or is not a plain name: "..", "." or empty parts,
/// backslashes, control bytes (NUL included), a leading '/' (absolute), a Windows drive ("C:"),
/// or text that is not UTF-8. The result uses '/' separators and has no leading '/'.
std::optional<std::string> SafeRelativePath(const std::string& decoded);

/// Joins a folder and a safe relative path and confirms that the file really lies inside the
/// folder once symbolic links are resolved, and that it is a regular file. Nothing otherwise.
std::optional<std::string> ResolveInside(const std::string& folder, const std::string& relative);

} // namespace ravelo::server
