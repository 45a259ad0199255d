#pragma once

#include "platform/Messages.h"

namespace ravelo {

// Results of the catalogue client, posted to the window that asked. Payloads belong to the receiver.

/// wParam page; payload CGameList.
constexpr std::uint32_t UM_GAMELIST_READY = WM_USER + 125;
/// wParam page; payload CGameList.
constexpr std::uint32_t UM_SEARCH_READY = WM_USER + 127;
/// wParam 0; payload a std::string with a short Chinese reason (windows may ignore it).
constexpr std::uint32_t UM_REQUEST_FAILED = WM_USER + 129;
/// wParam page; payload CGameList.
constexpr std::uint32_t UM_SPECIAL_READY = WM_USER + 132;
/// No payload: read CatalogueClient::Featured().
constexpr std::uint32_t UM_HOME_READY = WM_USER + 133;
/// No payload: the page's game record now holds the detail's fields.
constexpr std::uint32_t UM_DETAIL_LOADED = WM_USER + 142;
/// Payload std::u16string: the game's description.
constexpr std::uint32_t UM_DETAIL_DESCRIPTION = WM_USER + 105;
/// Payload std::string: one screenshot address.
constexpr std::uint32_t UM_DETAIL_SCREENSHOT = WM_USER + 106;

} // namespace ravelo
