#include "platform/Translate.h"

#include <libintl.h>

namespace ravelo {
namespace {
constexpr const char* kDomain = "ravelo";
}

const char* Tr(const char* source)
{
    // An empty source would fetch the catalogue's header entry.
    if (!source || !*source)
        return "";
    return ::dgettext(kDomain, source);
}

void InitTranslations(const std::string& localeFolder)
{
    if (!localeFolder.empty())
        ::bindtextdomain(kDomain, localeFolder.c_str());
    ::bind_textdomain_codeset(kDomain, "UTF-8");
}

} // namespace ravelo
