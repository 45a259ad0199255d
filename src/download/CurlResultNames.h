#pragma once

#include <string>

namespace ravelo {

/// Any thread. libcurl's symbolic name of a result code from 1 to 91 ("CURLE_UNSUPPORTED_PROTOCOL" ...
/// "CURL_LAST"), as libcurl 7.39 names them; empty for other numbers.
std::string CurlResultName(int code);

} // namespace ravelo
