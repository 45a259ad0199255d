#include "emulator/CommandLineTemplate.h"

namespace ravelo {

std::string QuoteGamePath(const std::string& gamePath)
{
    return "\"" + gamePath + "\"";
}

std::string ApplyCommandLineTemplate(const std::string& commandTemplate, const std::string& quotedGamePath)
{
    if (commandTemplate.empty())
        return quotedGamePath;
    std::string parameters = commandTemplate;
    if (const std::size_t tilde = parameters.find('~'); tilde != std::string::npos) {
        // Taken from the quoted text: with no separator the opening quote stays, and the closing one
        // always goes with the extension.
        const std::size_t separator = quotedGamePath.find_last_of("/\\");
        std::string baseName =
            separator == std::string::npos ? quotedGamePath : quotedGamePath.substr(separator + 1);
        if (const std::size_t dot = baseName.rfind('.'); dot != std::string::npos)
            baseName.erase(dot);
        else if (!baseName.empty() && baseName.back() == '"')
            baseName.pop_back(); // a name without extension still loses its closing quote

        parameters.replace(tilde, 1, baseName);
    } else if (const std::size_t at = parameters.find('@'); at != std::string::npos) {
        parameters.replace(at, 1, quotedGamePath);
    } else {
        parameters += quotedGamePath;
    }
    return parameters;
}

} // namespace ravelo
