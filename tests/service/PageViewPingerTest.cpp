#include "service/PageViewPinger.h"
#include "platform/IniFile.h"
#include "service/PortalPages.h"
#include "settings/AppPaths.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace ravelo;
using ravelo::test::LoopbackHttpServer;
using ravelo::test::TempFolder;

namespace {

class PageViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        saved = SettingsFilePath;
        SettingsFilePath = home / "ravelo.cfg";
        server.Get("/wapstat.php",
                   [](const httplib::Request&, httplib::Response& res) { res.set_content("", "image/gif"); });
        server.Start();
        WriteProfileString(SettingsFilePath, "Service", "BaseUrl", server.BaseUrl());
    }
    void TearDown() override
    {
        server.Stop();
        SettingsFilePath = saved;
    }

    TempFolder home;
    LoopbackHttpServer server;
    std::string saved;
};

} // namespace

TEST_F(PageViewTest, EachViewSendsAHeaderOnlyRequestWithTheRefererAndUserAgent)
{
    EXPECT_EQ(FindGamePage(), server.Url("/portal/findgame/"));
    EXPECT_EQ(GamePage("1001"), server.Url("/portal/game/1001/"));
    EXPECT_EQ(GamePage("1\r\nX: y"), server.Url("/portal/game/1%0D%0AX%3A+y/"));

    PageViewPinger pinger;
    pinger.Send(FeaturedPage());
    pinger.Send(GamePage("1001"));
    ASSERT_TRUE(server.WaitForRequests(2));
    pinger.Shutdown();

    std::set<std::string> referers;
    for (const auto& ping : server.Requests()) {
        EXPECT_EQ(ping.method, "HEAD");
        EXPECT_EQ(ping.path, "/wapstat.php");
        EXPECT_EQ(ping.params.find("siteid")->second, "8650");
        EXPECT_EQ(ping.params.find("r")->second, server.Url("/portal/"));
        const std::string token = ping.params.find("rnd")->second;
        EXPECT_EQ(token.size(), 8u);
        EXPECT_EQ(ping.Header("User-Agent"), PingUserAgent());
        EXPECT_EQ(ping.Header("User-Agent").rfind("Mozilla/5.0 (compatible; MSIE 9.0; Windows NT ", 0), 0u);
        referers.insert(ping.Header("Referer"));
    }
    EXPECT_EQ(referers,
              (std::set<std::string>{server.Url("/portal/featured/"), server.Url("/portal/game/1001/")}));
}

TEST_F(PageViewTest, ShutdownCutsAStalledPingShort)
{
    // A listening socket that never answers: the ping would wait out its five-second time-out.
    LoopbackHttpServer silent;
    std::mutex lock;
    std::condition_variable released;
    bool release = false;
    silent.Get("/wapstat.php", [&](const httplib::Request&, httplib::Response&) {
        std::unique_lock guard(lock);
        released.wait(guard, [&] { return release; });
    });
    silent.Start();
    WriteProfileString(SettingsFilePath, "Service", "StatUrl", silent.Url("/wapstat.php?siteid=8650"));

    PageViewPinger pinger;
    pinger.Send(MyGamePage());
    ASSERT_TRUE(silent.WaitForRequests(1));
    const auto started = std::chrono::steady_clock::now();
    pinger.Shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4));
    {
        std::lock_guard guard(lock);
        release = true;
    }
    released.notify_all();
    silent.Stop();
    EXPECT_EQ(silent.Requests().size(), 1u);
}
