#pragma once

#include "service/RequestSlot.h"

#include <string>

namespace ravelo {

/// What a game-list page wants to show: its filters, the page, and for the search page the keyword.
struct GameListQuery
{
    int category = 0; // index of the type filter; 0: all
    int emulator = 0; // index of the left bar's system option; 0: all
    int order = 0;    // 0 recommend, 1 new, 2 hot
    int language = 0; // index of the language filter; 0: all
    int page = 1;
    std::string keyword; // search page only

    bool operator==(const GameListQuery&) const = default;

    /// Whether an answer that came for `asked` is one for this query.
    bool IsAnsweredBy(const RequestParams& asked) const;
};

/// A requested page brought into 1..pages (a list always has at least one page).
int ClampPage(int requested, int total, int pageSize);

/// A list's "count" text as a number of games: decimal digits, else 0 (the list then has one page).
int ParseGameCount(const std::string& count);

} // namespace ravelo
