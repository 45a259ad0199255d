// The portal's endpoints: the page-view counter, the update answer, and the service itself under
// concurrent clients.
#include "server/ServerTestSupport.h"

#include "server/AccountStore.h"
#include "server/ConnectionPool.h"
#include "server/DemoGames.h"
#include "server/UpdatePackage.h"
#include "support/FileText.h"

#include <atomic>
#include <thread>

namespace ravelo::test {
namespace {

using PortalTest = ServerTest;

std::vector<server::PageView> StoredViews(int limit)
{
    server::ConnectionPool pool(ServerTest::Root() + "catalogue.db", 1);
    return server::AccountStore(pool).RecentPageViews(limit);
}

TEST_F(PortalTest, PageViewsAreStoredWithRefererAgentAndToken)
{
    auto client = Client();
    const std::string agent = "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64)";
    const auto head =
        client.Head("/wapstat.php?siteid=8650&r=http://127.0.0.1:8650/portal/&rnd=01234567",
                    {{"Referer", "http://127.0.0.1:8650/portal/game/1001/"}, {"User-Agent", agent}});
    ASSERT_TRUE(head);
    EXPECT_EQ(200, head->status);
    const auto get = client.Get("/wapstat.php?siteid=8650&r=http://127.0.0.1:8650/portal/&rnd=76543210",
                                {{"Referer", "http://127.0.0.1:8650/portal/featured/"}});
    ASSERT_TRUE(get);
    EXPECT_EQ(200, get->status);

    const auto views = StoredViews(10);
    ASSERT_EQ(2u, views.size());
    EXPECT_EQ("76543210", views[0].rnd);
    EXPECT_EQ("http://127.0.0.1:8650/portal/featured/", views[0].referer);
    EXPECT_EQ("8650", views[1].siteId);
    EXPECT_EQ("http://127.0.0.1:8650/portal/", views[1].r);
    EXPECT_EQ("01234567", views[1].rnd);
    EXPECT_EQ("http://127.0.0.1:8650/portal/game/1001/", views[1].referer);
    EXPECT_EQ(agent, views[1].userAgent);
    EXPECT_EQ("127.0.0.1", views[1].remoteAddr);
    EXPECT_EQ(19u, views[1].time.size()) << views[1].time;

    // Without a site number nothing is counted; a hostile agent is cut and kept as plain text.
    const auto missing = client.Get("/wapstat.php?rnd=1");
    ASSERT_TRUE(missing);
    EXPECT_EQ(400, missing->status);
    const auto hostile =
        client.Get("/wapstat.php?siteid=1&rnd=%FF%00x", {{"User-Agent", std::string(5000, 'a')}});
    ASSERT_TRUE(hostile);
    EXPECT_EQ(200, hostile->status);
    const auto stored = StoredViews(1);
    ASSERT_EQ(1u, stored.size());
    EXPECT_EQ(server::PortalApi::MaxFieldBytes, stored[0].userAgent.size());
    EXPECT_EQ("? x", stored[0].rnd);
}

TEST_F(PortalTest, UpdateAnswerOffersNothingNewByDefault)
{
    auto client = Client();
    const auto answer = client.Post("/download/pc/update/index.php", "", "application/x-www-form-urlencoded");
    ASSERT_TRUE(answer);
    EXPECT_EQ(200, answer->status);
    const Json::Value update = ParseJson(answer->body);
    EXPECT_EQ("0.0.18", update["version"].asString());
    EXPECT_EQ(Base() + "/download/Update.zip", update["downloadurl"].asString());
    EXPECT_TRUE(update["description"].isString());
    EXPECT_EQ(64u, update["sha256"].asString().size());
}

TEST_F(PortalTest, UpdatePackageIsTheCurrentProgramsWithTheChecksumTheAnswerNames)
{
    // Built with a newer version, the catalogue offers it with a package of the programs it was built
    // beside: the updater at the top, the program files under program/, runnable.
    TempFolder newer;
    server::DemoOptions options;
    options.folder = newer.Path();
    options.emulatorProgram = RAVELO_DEMO_EMU_EXE;
    options.updateProgramFolder = RAVELO_PROGRAM_FOLDER;
    options.updateVersion = "0.0.19";
    std::string error;
    ASSERT_TRUE(server::DemoBuilder(options).Build(error)) << error;
    server::ServerOptions serve;
    serve.root = newer.Path();
    serve.port = 0;
    server::CatalogueServer other(serve);
    ASSERT_TRUE(other.Open(error)) << error;
    other.Start();
    httplib::Client otherClient("127.0.0.1", other.Port());
    const auto offered = otherClient.Get("/download/pc/update/index.php");
    ASSERT_TRUE(offered);
    const Json::Value next = ParseJson(offered->body);
    EXPECT_EQ("0.0.19", next["version"].asString());
    EXPECT_NE(std::string::npos, next["description"].asString().find("0.0.19"));
    const auto package = otherClient.Get("/download/Update.zip");
    ASSERT_TRUE(package);
    const std::string saved = newer / "fetched.zip";
    test::WriteText(saved, package->body);
    EXPECT_EQ(next["sha256"].asString(), server::FileSha256(saved));

    const ZipContents zip = ReadZipBytes(newer, package->body);
    const std::string updater = test::ReadText(std::string(RAVELO_PROGRAM_FOLDER) + "/ravelo-update");
    ASSERT_EQ(1u, zip.files.count("ravelo-update"));
    EXPECT_TRUE(zip.files.at("ravelo-update") == updater); // the built program, byte for byte
    EXPECT_EQ(0755u, zip.modes.at("ravelo-update") & 0777u);
    ASSERT_EQ(1u, zip.files.count("program/ravelo-update"));
    EXPECT_EQ(0755u, zip.modes.at("program/ravelo-update") & 0777u);
    for (const std::string& name : zip.names) {
        EXPECT_TRUE(name == "ravelo-update" || name.rfind("program/", 0) == 0) << name;
        // Nothing of a user's own may travel in a package.
        for (const char* own :
             {"program/ravelo.cfg", "program/database", "program/Emulator", "program/portable.txt"})
            EXPECT_NE(0u, name.rfind(own, 0)) << name;
    }
}

TEST_F(PortalTest, ConcurrentClientsRegisterAndBrowseWithoutInterference)
{
    constexpr int Threads = 6;
    constexpr int Rounds = 25;
    std::atomic<int> failures{0};
    std::vector<std::string> uids(Threads * Rounds);
    std::vector<std::thread> workers;
    for (int t = 0; t < Threads; ++t) {
        workers.emplace_back([&, t] {
            httplib::Client client("127.0.0.1", Port());
            for (int round = 0; round < Rounds; ++round) {
                const auto user =
                    client.Post("/clientapi/", ClientBodies::Register(), "application/x-www-form-urlencoded");
                const auto list = client.Post("/clientapi/", ClientBodies::GameList(round % 3 + 1, 20),
                                              "application/x-www-form-urlencoded");
                if (!user || user->status != 200 || !list || list->status != 200) {
                    ++failures;
                    continue;
                }
                Json::CharReaderBuilder builder;
                std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
                Json::Value value;
                if (!reader->parse(user->body.data(), user->body.data() + user->body.size(), &value, nullptr))
                    ++failures;
                uids[static_cast<std::size_t>(t * Rounds + round)] = value["uid"].asString();
                // A user registered on one connection is known at once on every other.
                const auto down = client.Post(
                    "/clientapi/",
                    ClientBodies::DownFile(value["uid"].asString(),
                                           server::FormBody::Encode(value["ticket"].asString()), "1001"),
                    "application/x-www-form-urlencoded");
                if (!down || down->status != 200)
                    ++failures;
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    EXPECT_EQ(0, failures.load());
    std::set<std::string> distinct(uids.begin(), uids.end());
    EXPECT_EQ(uids.size(), distinct.size()) << "every registration got its own uid";
}

} // namespace
} // namespace ravelo::test
