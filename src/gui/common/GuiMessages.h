#pragma once

#include "platform/Messages.h"

#include <cstdint>

namespace ravelo {

// Messages between the main window and its pages. Numbers are WM_USER plus the offsets the program
// has always used; the engines' own messages live with them (CatalogueMessages.h, DownloadMessages.h,
// EmulatorMessages.h, InputMessages.h, PictureMessages.h, LocalGameMessages.h).

/// Tray menu → main window: payload std::string, the chosen item's name ("Menu_ShowMain", "Menu_Exit").
constexpr std::uint32_t UM_TRAY_COMMAND = WM_USER + 121; // 1145
/// Main window → category, search or my-games page: wParam the system option's index (0: all), payload
/// std::uintptr_t grid (0 category, 2 search, 1/2 my games: installed/local).
constexpr std::uint32_t UM_EMULATOR_FILTER = WM_USER + 134; // 1158
/// Category and search pages → main window, sent: select the category entry of the left bar again.
constexpr std::uint32_t UM_SELECT_CATEGORY_ENTRY = WM_USER + 135; // 1159
/// Main window → search page: payload std::string, the keyword (UTF-8).
constexpr std::uint32_t UM_SEARCH_KEYWORD = WM_USER + 136; // 1160
/// Search page's back button → main window.
constexpr std::uint32_t UM_SHOW_CATEGORY_PAGE = WM_USER + 137; // 1161
/// Home page → main window: wParam the topic id; payload std::u16string, its title.
constexpr std::uint32_t UM_SHOW_SPECIAL = WM_USER + 138; // 1162
/// Main window → special-topic page: as UM_SHOW_SPECIAL.
constexpr std::uint32_t UM_OPEN_SPECIAL = WM_USER + 139; // 1163
/// Special-topic page's back button → main window.
constexpr std::uint32_t UM_SHOW_HOME_PAGE = WM_USER + 140; // 1164
/// My-games page → main window: wParam the grid of the left bar's my-games entry, counted from 1.
constexpr std::uint32_t UM_SELECT_MYGAME_GRID = WM_USER + 141; // 1165
/// A second start of the program → main window: show yourself.
constexpr std::uint32_t UM_SHOW_MAIN_WINDOW = WM_USER + 150;

/// The result every modal dialog ends with when it is closed normally.
constexpr int kDialogClosed = 2;
/// The result that ends the program because the updater was started.
constexpr int kDialogExitForUpdate = 886;

} // namespace ravelo
