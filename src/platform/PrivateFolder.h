#pragma once

#include <string>

namespace ravelo {

/// What MakePrivateFolder found and did.
enum class PrivateFolderResult
{
    Ready,   // the folder is ours, a real folder, and closed to others (mode 0700)
    Refused, // it belongs to someone else or cannot be made private; do not use it
};

/// Makes `folder` (with or without a trailing '/') a folder only the current user can enter, for
/// files that are later unpacked and run. Missing: created with mode 0700 (its parents as needed).
/// Ours but a link, or open to group or others: whatever is there is removed and the folder made
/// anew, since someone else may have put files into it. Another user's: refused. `reason` receives a
/// one-line explanation when refused.
PrivateFolderResult MakePrivateFolder(const std::string& folder, std::string* reason = nullptr);

} // namespace ravelo
