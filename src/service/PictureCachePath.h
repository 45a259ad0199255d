#pragma once

#include <string>

namespace ravelo {

// Picture addresses come from the catalogue's answers, so they are treated as hostile: the file made
// from one never leaves the cache folder, and only http and https are ever fetched.

/// The cache file of a picture under cacheFolder (which ends in '/'): the address's path, without an
/// "http(s)://host" prefix and without any query or fragment, split on '/' and '\' and joined with
/// '/'. Doubled separators count as one. "" when no safe file exists: another scheme, an empty path or
/// one ending in a separator, or a part that is "." or "..", longer than 128 bytes or holds a control
/// character.
std::string PictureCachePath(const std::string& cacheFolder, const std::string& address);

/// Where the picture is fetched from: an http:// or https:// address as it is; a relative address
/// from pictureHost (without a trailing '/'), with a '/' between them when the address has none.
/// "" for any other scheme.
std::string PictureFetchUrl(const std::string& pictureHost, const std::string& address);

} // namespace ravelo
