#include "service/PortalPages.h"

#include "service/CatalogueRequests.h"
#include "service/ServiceEndpoints.h"

namespace ravelo {
namespace {
std::string Portal(const std::string& path)
{
    return ServiceEndpoints::Load().PortalUrl + path;
}
} // namespace

std::string PortalHomePage()
{
    return Portal("");
}
std::string NewUserPage()
{
    return Portal("newuser/");
}
std::string FeaturedPage()
{
    return Portal("featured/");
}
std::string FindGamePage()
{
    return Portal("findgame/");
}
std::string MyGamePage()
{
    return Portal("mygame/");
}
std::string GamePage(const std::string& gameid)
{
    return Portal("game/" + PercentEncode(gameid) + "/");
}

} // namespace ravelo
