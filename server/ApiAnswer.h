#pragma once

#include <string>

namespace ravelo::server {

/// An HTTP status with its JSON body (UTF-8).
struct ApiAnswer
{
    int status = 200;
    std::string body;
};

} // namespace ravelo::server
