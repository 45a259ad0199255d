#pragma once

#include "platform/Translate.h"

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ravelo::test {

/// For the length of a test: the given language environment (unset where a value is empty), the
/// locale chosen by SelectLanguage(language) and the build tree's catalogues (RAVELO_BUILD_LOCALE_DIR,
/// set by the build for tests that read translations). Restores the environment and the C locale
/// afterwards, so a test never depends on what CI's environment says.
class LanguageScope
{
public:
    struct Environment
    {
        std::string language, lcAll, lcMessages, lang; // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
    };

    explicit LanguageScope(const std::string& language, const Environment& environment = {})
    {
        Set("LANGUAGE", environment.language);
        Set("LC_ALL", environment.lcAll);
        Set("LC_MESSAGES", environment.lcMessages);
        Set("LANG", environment.lang);
        SelectLanguage(language);
        InitTranslations(RAVELO_BUILD_LOCALE_DIR);
    }
    ~LanguageScope()
    {
        for (auto& [name, value] : m_saved) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
        std::setlocale(LC_ALL, "C");
    }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

private:
    void Set(const char* name, const std::string& value)
    {
        const char* old = std::getenv(name);
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value.empty())
            ::unsetenv(name);
        else
            ::setenv(name, value.c_str(), 1);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

} // namespace ravelo::test
