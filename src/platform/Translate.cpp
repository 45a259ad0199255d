#include "platform/Translate.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <libintl.h>

namespace ravelo {
namespace {
constexpr const char* kDomain = "ravelo";

bool IsCLocale(const char* name)
{
    return !name || !*name || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0;
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The language the environment asks for, in the order gettext reads it.
std::string EnvironmentLanguage()
{
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string value = Environment(name);
        if (!value.empty())
            return value;
    }
    return {};
}
// A language list as LANGUAGE takes it ("en", "zh_CN:en", "en_GB.UTF-8"); anything else in the
// settings file, such as a path, is not a language and is ignored.
bool IsLanguageName(const std::string& name)
{
    for (const char c : name) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                             c == '_' || c == '-' || c == '.' || c == '@' || c == ':';
        if (!allowed)
            return false;
    }
    return true;
}
} // namespace

const char* Tr(const char* source)
{
    // An empty source would fetch the catalogue's header entry.
    if (!source || !*source)
        return "";
    return ::dgettext(kDomain, source);
}

void SelectLanguage(const std::string& language)
{
    const std::string chosen = IsLanguageName(language) ? language : std::string();
    if (!chosen.empty())
        ::setenv("LANGUAGE", chosen.c_str(), 1);
    const std::string wanted = chosen.empty() ? EnvironmentLanguage() : chosen;

    const bool localeSet = std::setlocale(LC_ALL, "") != nullptr;
    // glibc ignores LANGUAGE while the messages locale is C; C.UTF-8 is not C for it, and our texts
    // are UTF-8 anyway.
    if ((!localeSet || IsCLocale(std::setlocale(LC_MESSAGES, nullptr))) && !IsCLocale(wanted.c_str())) {
        if (std::setlocale(LC_ALL, "C.UTF-8")) {
            // An uninstalled locale named in LANG or LC_ALL still names the language the user reads.
            if (Environment("LANGUAGE").empty())
                ::setenv("LANGUAGE", wanted.c_str(), 1);
        }
    }
    std::setlocale(LC_NUMERIC, "C"); // numbers in files and requests are always written the C way
}

void InitTranslations(const std::string& localeFolder)
{
    if (!localeFolder.empty())
        ::bindtextdomain(kDomain, localeFolder.c_str());
    ::bind_textdomain_codeset(kDomain, "UTF-8");
}

} // namespace ravelo
