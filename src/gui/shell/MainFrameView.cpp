#include "gui/shell/MainFrameView.h"

namespace ravelo {

std::string CountButtonText(const char* label, int count)
{
    std::string text = label;
    if (count > 0)
        text += "   " + std::to_string(count);
    return text;
}

bool IsSearchText(const std::string& text)
{
    return text.find_first_not_of(" \t\r\n") != std::string::npos;
}

} // namespace ravelo
