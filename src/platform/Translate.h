#pragma once

#include <string>

namespace ravelo {

/// The one way a user-visible text is looked up. The Chinese text as written in the code is the
/// source text; when a message catalogue for the user's language is installed, GNU gettext answers
/// its translation, otherwise the source text itself. Any thread. The pointer stays valid for the
/// life of the program.
const char* Tr(const char* source);

/// Marks a source text in a constant table for the catalogue without translating it yet; the table's
/// reader passes it through Tr when it shows it.
constexpr const char* TrNoop(const char* source)
{
    return source;
}

/// Start-up, once, on the main thread before any other thread runs: sets the process locale from the
/// environment (numbers stay in the C format). `language` is the user's choice ("zh_CN", "en"); when
/// it is not empty it wins over LANGUAGE, LC_ALL, LC_MESSAGES and LANG. A language asked for while
/// the locale is C (no LANG, or one that is not installed) still takes effect: the locale becomes
/// C.UTF-8, under which gettext honours LANGUAGE. Sets LANGUAGE for the process, so programs it
/// starts inherit the choice. A `language` that is no language list (a path, spaces) is ignored.
void SelectLanguage(const std::string& language);

/// Start-up, once, before any thread calls Tr: binds the program's text domain to the catalogues
/// under `localeFolder` (".../share/locale" or the build tree's) in UTF-8.
void InitTranslations(const std::string& localeFolder);

} // namespace ravelo
