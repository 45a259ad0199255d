#pragma once

#include <string>

namespace ravelo {

// Addresses of the portal pages that stand for the program's views in the page-view statistics. Each
// reads the portal address from the settings anew.

std::string PortalHomePage(); // the main window opens
std::string NewUserPage();    // the main window opens before any registration
std::string FeaturedPage();   // the home tab
std::string FindGamePage();   // the category tab
std::string MyGamePage();     // the my-games tab
/// A game's detail window; the id is percent-encoded, so a server value cannot bend the address.
std::string GamePage(const std::string& gameid);

} // namespace ravelo
