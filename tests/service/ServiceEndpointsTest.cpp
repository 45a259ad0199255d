#include "service/ServiceEndpoints.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace ravelo;
using ravelo::test::TempFolder;
using ravelo::test::WriteText;

TEST(ServiceEndpoints, DefaultsDeriveFromTheBaseAddress)
{
    TempFolder folder;
    const ServiceEndpoints e = ServiceEndpoints::Load(folder / "missing.cfg");
    EXPECT_EQ(e.BaseUrl, "http://127.0.0.1:8650");
    EXPECT_EQ(e.ApiUrl, "http://127.0.0.1:8650/clientapi/");
    EXPECT_EQ(e.PortalUrl, "http://127.0.0.1:8650/portal/");
    EXPECT_EQ(e.PictureHost, "http://127.0.0.1:8650");
    EXPECT_EQ(e.PackageHost, "http://127.0.0.1:8650/download/");
    EXPECT_EQ(e.UpdateUrl, "http://127.0.0.1:8650/download/pc/update/index.php");
    EXPECT_EQ(e.EmulatorListUrl, "http://127.0.0.1:8650/download/pc/update/emulators.php");
    EXPECT_EQ(e.StatUrl, "http://127.0.0.1:8650/wapstat.php?siteid=8650");
}

TEST(ServiceEndpoints, EachAddressCanBeOverriddenAndIsReadAnew)
{
    TempFolder folder;
    const std::string cfg = folder / "ravelo.cfg";
    WriteText(cfg, "[Set]\nRomPath=/games/\n[Service]\nBaseUrl=http://example.test:99/\n"
                   "PortalUrl=http://portal.test/p\nStatUrl=http://stat.test/c.php?siteid=1\n");
    ServiceEndpoints e = ServiceEndpoints::Load(cfg);
    EXPECT_EQ(e.BaseUrl, "http://example.test:99");
    EXPECT_EQ(e.ApiUrl, "http://example.test:99/clientapi/");
    EXPECT_EQ(e.PortalUrl, "http://portal.test/p/"); // always ends in '/'
    EXPECT_EQ(e.StatUrl, "http://stat.test/c.php?siteid=1");
    EXPECT_EQ(e.PackageHost, "http://example.test:99/download/");

    WriteText(cfg, "[service]\napiurl=http://api.test/x/\n");
    e = ServiceEndpoints::Load(cfg);
    EXPECT_EQ(e.BaseUrl, "http://127.0.0.1:8650");
    EXPECT_EQ(e.ApiUrl, "http://api.test/x/");
}
