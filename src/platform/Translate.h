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

/// Start-up, once, before any thread calls Tr: binds the program's text domain to the catalogues
/// under `localeFolder` (".../share/locale" or the build tree's) in UTF-8.
void InitTranslations(const std::string& localeFolder);

} // namespace ravelo
