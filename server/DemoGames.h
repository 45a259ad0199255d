#pragma once

#include <span>
#include <string_view>

namespace ravelo::server {

/// One game of the demo catalogue. Titles are invented for the demo.
struct DemoGame
{
    int id;
    std::string_view name;    ///< Chinese title
    std::string_view orgName; ///< Latin title
    int system;               ///< system number
    int category;             ///< the client's game-type number (1 动作 ... 15 其他)
    int language;             ///< the client's language number (1 英文 ... 4 繁体中文)
};

/// A name with its number (categories and languages).
struct DemoName
{
    int id;
    std::string_view name;
};

std::span<const DemoGame> DemoGames();
/// The game types in the order of the client's type filter, numbered from 1.
std::span<const DemoName> DemoCategories();
/// The languages in the order of the client's language filter, numbered from 1.
std::span<const DemoName> DemoLanguages();

} // namespace ravelo::server
