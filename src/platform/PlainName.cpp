#include "platform/PlainName.h"

namespace ravelo {

bool IsPlainName(const std::string& name)
{
    if (name.empty() || name.size() > 128 || name == "." || name == "..")
        return false;
    for (const char c : name)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return true;
}

} // namespace ravelo
