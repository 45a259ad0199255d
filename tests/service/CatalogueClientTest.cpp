#include "service/CatalogueClient.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/MessageQueue.h"
#include "service/CGameList.h"
#include "service/CacheTextCodec.h"
#include "service/CatalogueMessages.h"
#include "settings/AppPaths.h"
#include "settings/UserIdentity.h"
#include "support/FileText.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempFolder.h"

#include <condition_variable>
#include <filesystem>
#include <gtest/gtest.h>

using namespace ravelo;
using namespace std::chrono_literals;
using ravelo::test::LoopbackHttpServer;
using ravelo::test::ReadText;
using ravelo::test::TempFolder;

namespace {

constexpr const char* kTwoGames = R"({"status": 1, "count": "2", "msg": "", "_run_time": 0,
    "gamelist": [{"gameid": "1001", "gamename": "魂斗罗", "emulatorshortname": "FC", "size": "0.25"},
                 {"gameid": "1002", "gamename": "赤色要塞", "emulatorshortname": "FC", "size": "0.19"}]})";

constexpr const char* kDetail = R"({"status": 1, "count": 1, "msg": "", "gameinfo": {"gameid": "1001",
    "gamename": "魂斗罗", "orgname": "Contra", "size": "0.25", "description": "经典射击游戏",
    "screens": ["http://pic/1.jpg", "http://pic/2.jpg"]}})";

/// The catalogue API on a loopback server: answers by action, and can hold list requests until released.
class CatalogueClientTest : public testing::Test
{
protected:
    void SetUp() override
    {
        savedDataFolder = DataFolder;
        savedSettings = SettingsFilePath;
        DataFolder = data.Path();
        SettingsFilePath = home / "ravelo.cfg";
        server.Post("/clientapi/",
                    [this](const httplib::Request& req, httplib::Response& res) { Answer(req, res); });
        server.Start();
        WriteProfileString(SettingsFilePath, "Service", "BaseUrl", server.BaseUrl());
    }

    void TearDown() override
    {
        Release();
        server.Stop();
        DataFolder = savedDataFolder;
        SettingsFilePath = savedSettings;
    }

    void Answer(const httplib::Request& req, httplib::Response& res)
    {
        const std::string action = req.get_param_value("action");
        if (holdLists && action == "gamelist") {
            std::unique_lock guard(holdLock);
            released.wait(guard, [&] { return !holdLists; });
        }
        std::lock_guard guard(answerLock);
        const auto it = answers.find(action);
        if (it == answers.end()) {
            res.status = 404;
            return;
        }
        res.status = it->second.first;
        res.set_content(it->second.second, "application/json");
    }

    void SetAnswer(const std::string& action, std::string body, int status = 200)
    {
        std::lock_guard guard(answerLock);
        answers[action] = {status, std::move(body)};
    }

    void Release()
    {
        {
            std::lock_guard guard(holdLock);
            holdLists = false;
        }
        released.notify_all();
    }

    std::string Body(std::size_t index) { return server.Requests().at(index).body; }

    TempFolder home, data;
    LoopbackHttpServer server;
    MessageQueue queue;
    std::string savedDataFolder, savedSettings;

    std::mutex answerLock;
    std::map<std::string, std::pair<int, std::string>> answers;
    std::mutex holdLock;
    std::condition_variable released;
    bool holdLists = false;
};

} // namespace

TEST_F(CatalogueClientTest, AGameListArrivesAsAnOwnedRecordWithItsPage)
{
    SetAnswer("gamelist", kTwoGames);
    CatalogueClient client;
    ASSERT_TRUE(client.StartGameList(queue.Handle(), 12, 0, 2, 0, 3, 20));
    auto message = queue.Wait(10s);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->id, UM_GAMELIST_READY);
    EXPECT_EQ(message->wParam, 3u);
    auto list = message->TakePayload<CGameList>();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->gamelist.size(), 2u);
    EXPECT_EQ(list->gamelist[1].gamename, u"赤色要塞");
    EXPECT_EQ(Body(0), "model=appstore&action=gamelist&clientparams= | |zh| | |pc1.0&page=3&pagesize=20"
                       "&categoryid=012&emulatorid= &orderby=hot&language= ");
    EXPECT_EQ(server.Requests()[0].Header("User-Agent"), ""); // the catalogue request names no agent
}

TEST_F(CatalogueClientTest, SearchAndSpecialTopicPostTheirOwnMessages)
{
    SetAnswer("gamelist", kTwoGames);
    SetAnswer("specialinfo", R"({"gamelist": [{"gameid": "9"}], "count": "1"})");
    CatalogueClient client;
    ASSERT_TRUE(client.StartSearch(queue.Handle(), 0, 125, 0, 0, 1, "魂斗罗 2"));
    auto found = queue.Wait(10s);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->id, UM_SEARCH_READY);
    EXPECT_EQ(found->TakePayload<CGameList>()->gamelist.size(), 2u);
    EXPECT_EQ(Body(0), "model=appstore&action=gamelist&clientparams= | |zh| | |pc1.0&page=1&pagesize=40"
                       "&categoryid= &emulatorid=125&keyword=%E9%AD%82%E6%96%97%E7%BD%97+2&orderby=recommend"
                       "&language= ");

    ASSERT_TRUE(client.StartSpecialTopic(queue.Handle(), 0, 2, 16));
    auto topic = queue.Wait(10s);
    ASSERT_TRUE(topic);
    EXPECT_EQ(topic->id, UM_SPECIAL_READY);
    EXPECT_EQ(topic->wParam, 2u);
    EXPECT_EQ(topic->TakePayload<CGameList>()->gamelist[0].gameid, "9");
    EXPECT_EQ(Body(1), "model=appstore&action=specialinfo&clientparams= | |zh| | |pc1.0&page=2&pagesize=16"
                       "&id=000&orderby=recommend");
}

TEST_F(CatalogueClientTest, FailuresPostOneFailureMessageWithAReason)
{
    CatalogueClient client;
    const auto failureOf = [&](const std::string& answer, int status) {
        SetAnswer("gamelist", answer, status);
        EXPECT_TRUE(client.StartGameList(queue.Handle(), 0, 0, 0, 0, 1));
        auto message = queue.Wait(10s);
        EXPECT_TRUE(message);
        if (!message)
            return std::string("no message");
        EXPECT_EQ(message->id, UM_REQUEST_FAILED);
        EXPECT_EQ(message->wParam, 0u);
        EXPECT_FALSE(message->TakePayload<CGameList>());
        auto reason = message->TakePayload<std::string>();
        return reason ? *reason : std::string();
    };
    EXPECT_EQ(failureOf(kTwoGames, 500), "服务器返回错误 (HTTP 500)");
    EXPECT_EQ(failureOf("<html>oops</html>", 200), "服务器应答无法解析");
    EXPECT_EQ(failureOf(R"({"gamelist": [{"gameid": "1", "needsize": "big"}]})", 200), "服务器应答内容有误");
    EXPECT_TRUE(client.StartSearch(queue.Handle(), 0, 0, 0, 0, 1, "\xff")); // not valid ANSI (UTF-8) text
    auto bad = queue.Wait(10s);
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->id, UM_REQUEST_FAILED);
    EXPECT_EQ(queue.Pending(), 0u);
}

TEST_F(CatalogueClientTest, ARequestWhileTheSlotIsBusyIsDropped)
{
    SetAnswer("gamelist", kTwoGames);
    holdLists = true;
    CatalogueClient client;
    ASSERT_TRUE(client.StartGameList(queue.Handle(), 0, 0, 0, 0, 1));
    ASSERT_TRUE(server.WaitForRequests(1));
    EXPECT_FALSE(client.StartGameList(queue.Handle(), 0, 0, 0, 0, 2));   // dropped: page 1 still running
    ASSERT_TRUE(client.StartSearch(queue.Handle(), 0, 0, 0, 0, 5, "x")); // another slot is free
    Release();

    std::vector<std::pair<std::uint32_t, std::uintptr_t>> seen;
    for (int i = 0; i < 2; ++i) {
        auto message = queue.Wait(10s);
        ASSERT_TRUE(message);
        seen.emplace_back(message->id, message->wParam);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::pair<std::uint32_t, std::uintptr_t>>{{UM_GAMELIST_READY, 1},
                                                                           {UM_SEARCH_READY, 5}}));
    // Idle again as soon as the result is there.
    ASSERT_TRUE(client.StartGameList(queue.Handle(), 0, 0, 0, 0, 3));
    auto third = queue.Wait(10s);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->wParam, 3u);
    std::vector<std::string> pages;
    for (const auto& request : server.Requests())
        if (request.body.find("keyword=") == std::string::npos)
            pages.push_back(request.body.substr(request.body.find("&page=") + 6, 1));
    EXPECT_EQ(pages, (std::vector<std::string>{"1", "3"}));
}

TEST_F(CatalogueClientTest, TheHomePageIsPublishedWholeAndReplacedByTheNextAnswer)
{
    SetAnswer("pc_index",
              R"({"game_list_hot": [{"gameid": "1"}, {"gameid": "2"}], "game_top": {"gameid": "7"}})");
    CatalogueClient client;
    EXPECT_TRUE(client.Featured()->game_list_hot.empty());
    ASSERT_TRUE(client.StartHomePage(queue.Handle()));
    auto ready = queue.Wait(10s);
    ASSERT_TRUE(ready);
    EXPECT_EQ(ready->id, UM_HOME_READY);
    const auto first = client.Featured();
    EXPECT_EQ(first->game_list_hot.size(), 2u);
    EXPECT_EQ(first->game_top.gameid, "7");
    EXPECT_EQ(Body(0), "model=appstore&action=pc_index&clientparams= | |zh| | |pc1.0");

    ASSERT_TRUE(client.StartHomePage(queue.Handle()));
    ASSERT_TRUE(queue.WaitFor(UM_HOME_READY, 10s));
    EXPECT_EQ(client.Featured()->game_list_hot.size(), 2u); // not doubled
    EXPECT_EQ(first->game_list_hot.size(), 2u);             // an earlier snapshot stays as it was

    SetAnswer("pc_index", "not json");
    ASSERT_TRUE(client.StartHomePage(queue.Handle()));
    auto failed = queue.Wait(10s);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->id, UM_REQUEST_FAILED);
    EXPECT_EQ(client.Featured()->game_top.gameid, "7"); // the last good answer stays
}

TEST_F(CatalogueClientTest, ADetailIsCachedAndServedFromTheCacheWhenTheServerIsDown)
{
    SetAnswer("gameinfo", kDetail);
    CatalogueClient client;
    CGame game;
    game.gameid = "1001";
    game.localFolder = "/games/FC/1001/";
    std::string failure;
    ASSERT_TRUE(client.FetchGameDetail(game, true, true, queue.Handle(), &failure)) << failure;
    EXPECT_EQ(Body(0), "model=appstore&action=gameinfo&clientparams= | |zh| | |pc1.0&gameid=1001");
    EXPECT_EQ(game.orgname, u"Contra");
    EXPECT_EQ(game.localFolder, "/games/FC/1001/"); // program-side fields are the page's own
    const std::string cachePath = data / "GameInfoCache/1001/1001.gameinfo";
    EXPECT_EQ(ReadText(cachePath), EncodeCacheText(kDetail)); // the raw answer, in the cache encoding

    const auto drain = [&] {
        std::vector<Message> messages;
        while (auto message = queue.Wait(0ms))
            messages.push_back(std::move(*message));
        return messages;
    };
    auto messages = drain();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].id, UM_DETAIL_LOADED);
    EXPECT_EQ(messages[1].id, UM_DETAIL_DESCRIPTION);
    EXPECT_EQ(*messages[1].TakePayload<std::u16string>(), u"经典射击游戏");
    EXPECT_EQ(messages[2].id, UM_DETAIL_SCREENSHOT);
    EXPECT_EQ(*messages[2].TakePayload<std::string>(), "http://pic/1.jpg");
    EXPECT_EQ(*messages[3].TakePayload<std::string>(), "http://pic/2.jpg");

    server.Stop();
    CGame again;
    again.gameid = "1001";
    ASSERT_TRUE(client.FetchGameDetail(again, true, false, queue.Handle()));
    EXPECT_EQ(again.orgname, u""); // not copied without the switch
    messages = drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].id, UM_DETAIL_DESCRIPTION);
    EXPECT_EQ(server.Requests().size(), 1u);

    // Without the cache switch and without a server nothing arrives.
    EXPECT_FALSE(client.FetchGameDetail(again, false, true, queue.Handle(), &failure));
    EXPECT_EQ(failure, "无法连接服务器");
    EXPECT_EQ(queue.Pending(), 0u);
}

TEST_F(CatalogueClientTest, ACorruptCacheFileIsReplacedByTheNextFetch)
{
    SetAnswer("gameinfo", kDetail);
    const std::string cachePath = data / "GameInfoCache/1001/1001.gameinfo";
    CreateFolderChain(cachePath);
    ravelo::test::WriteText(cachePath, "****not-the-cache-encoding****");
    CatalogueClient client;
    CGame game;
    game.gameid = "1001";
    ASSERT_TRUE(client.FetchGameDetail(game, true, true, queue.Handle()));
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_NE(DecodeCacheText(ReadText(cachePath)).find("\"gameid\": \"1001\""), std::string::npos);
}

TEST_F(CatalogueClientTest, AHostileGameIdNeverWritesOutsideTheCacheFolder)
{
    SetAnswer("gameinfo", R"({"status": 1, "gameinfo": {"gameid": "../../x", "gamename": "x"}})");
    TempFolder root;
    DataFolder = root / "a/b/RaveloAppStore/";
    CreateFolderChain(DataFolder);
    CatalogueClient client;
    CGame game;
    game.gameid = "../../x";
    ASSERT_TRUE(client.FetchGameDetail(game, true, false, queue.Handle()));
    EXPECT_EQ(Body(0), "model=appstore&action=gameinfo&clientparams= | |zh| | |pc1.0&gameid=..%2F..%2Fx");
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root.Path()))
        entries.push_back(entry.path().string());
    EXPECT_EQ(entries, (std::vector<std::string>{root / "a", root / "a/b", root / "a/b/RaveloAppStore"}));
}

TEST_F(CatalogueClientTest, ADetailAnswerWithoutTheAskedGameIsAFailureAndIsNotCached)
{
    CatalogueClient client;
    const std::string cachePath = data / "GameInfoCache/1001/1001.gameinfo";
    const auto failureOf = [&](const std::string& answer, int status = 200) {
        SetAnswer("gameinfo", answer, status);
        CGame game;
        game.gameid = "1001";
        std::string failure;
        EXPECT_FALSE(client.FetchGameDetail(game, true, true, queue.Handle(), &failure)) << answer;
        EXPECT_EQ(game.gamename, u"") << answer;
        return failure;
    };
    EXPECT_EQ(failureOf(R"({"status": -1, "msg": "游戏已下架", "gameinfo": {"gameid": "1001"}})"),
              "游戏已下架");
    EXPECT_EQ(failureOf(R"({"status": 1, "msg": "", "gameinfo": null})"), "游戏不存在");
    EXPECT_EQ(failureOf(R"({"status": 1})"), "游戏不存在");
    EXPECT_EQ(failureOf(R"({"status": 0, "msg": "没有这个游戏", "gameinfo": {"gameid": ""}})"),
              "没有这个游戏");
    EXPECT_EQ(failureOf(R"({"status": 1, "gameinfo": {"gameid": "../../etc", "gamename": "x"}})"),
              "游戏信息无法读取");
    EXPECT_EQ(failureOf(R"({"status": -1, "msg": "游戏不存在了"})", 404),
              "游戏不存在了"); // the refusal's own words
    EXPECT_EQ(failureOf("<html>Not Found</html>", 404), "服务器返回错误 (HTTP 404)");
    EXPECT_EQ(failureOf(R"({"status": 1, "gameinfo": {"gameid": ["1001"]}})"), "服务器应答内容有误");
    EXPECT_EQ(failureOf(R"({"status": 1, "gameinfo": {"gameid": "1001")"), "服务器应答无法解析");
    EXPECT_FALSE(std::filesystem::exists(cachePath));
    EXPECT_EQ(queue.Pending(), 0u);

    // A copy cached before without a game is not served: the game is asked for again.
    CreateFolderChain(cachePath);
    ravelo::test::WriteText(cachePath, EncodeCacheText(R"({"status": 1, "gameinfo": null})"));
    SetAnswer("gameinfo", R"({"status": 1, "gameinfo": {"gameid": "1001", "gamename": "魂斗罗",
        "screens": [null, "http://pic/1.jpg"]}})");
    CGame game;
    game.gameid = "1001";
    ASSERT_TRUE(client.FetchGameDetail(game, true, true, queue.Handle()));
    EXPECT_EQ(game.gamename, u"魂斗罗");
    std::vector<std::string> screenshots;
    while (auto message = queue.Wait(0ms))
        if (message->id == UM_DETAIL_SCREENSHOT)
            screenshots.push_back(*message->TakePayload<std::string>());
    EXPECT_EQ(screenshots, std::vector<std::string>{"http://pic/1.jpg"}); // no picture for a null entry
}

TEST_F(CatalogueClientTest, RegistrationStoresTheIdentityWithTheTicketEncodedOnce)
{
    SetAnswer("register", R"({"status": 1, "uid": "42", "username": "u42", "ticket": "t/k=1 2"})");
    SetAnswer("downfile",
              R"({"status": 1, "fileurl": "http://s/1001.zip", "cloudurl": {"baidu": ["http://pan/1"]}})");
    CatalogueClient client;
    CDownLoadUrl urls;
    ASSERT_TRUE(client.FetchDownloadAddresses(urls, "1001"));
    EXPECT_EQ(urls.fileurl, "http://s/1001.zip");
    EXPECT_EQ(urls.cloudurl.baidu.size(), 1u);
    const UserIdentity identity(SettingsFilePath);
    EXPECT_EQ(identity.Uid, "42");
    EXPECT_EQ(identity.Ticket, "t%2Fk%3D1+2");

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    const std::string& registration = requests[0].body;
    ASSERT_EQ(registration.rfind("model=user&action=register&password=", 0), 0u);
    const long password = std::stol(registration.substr(registration.find("password=") + 9));
    EXPECT_GE(password, 10000000L);
    EXPECT_LE(password, 999999999L);
    EXPECT_EQ(requests[1].body, "model=user&action=downfile&uid=42&ticket=t%2Fk%3D1+2&gameid=1001");

    // Registered now: the next download asks for addresses only.
    CDownLoadUrl second;
    ASSERT_TRUE(client.FetchDownloadAddresses(second, "1002"));
    ASSERT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(server.Requests()[2].body, "model=user&action=downfile&uid=42&ticket=t%2Fk%3D1+2&gameid=1002");
}

TEST_F(CatalogueClientTest, AnAnswerWithoutTicketStoresAnEmptyOneSoTheNextDownloadRegistersAgain)
{
    SetAnswer("register", R"({"status": 1, "uid": "43"})");
    CatalogueClient client;
    EXPECT_TRUE(client.EnsureRegistered());
    UserIdentity identity(SettingsFilePath);
    EXPECT_EQ(identity.Uid, "43");
    EXPECT_EQ(identity.Ticket, "");
    EXPECT_TRUE(client.EnsureRegistered());
    EXPECT_EQ(server.Requests().size(), 2u);

    SetAnswer("register", "Service Unavailable");
    EXPECT_FALSE(client.EnsureRegistered()); // nothing issued, nothing stored
    SetAnswer("register", "", 500);
    CDownLoadUrl urls;
    EXPECT_FALSE(client.FetchDownloadAddresses(urls, "1001"));
    identity.Load();
    EXPECT_EQ(identity.Uid, "43");
    for (const auto& request : server.Requests())
        EXPECT_EQ(request.body.find("action=downfile"), std::string::npos);
}

TEST_F(CatalogueClientTest, DownloadAddressesThatDoNotConvertFail)
{
    UserIdentity identity(SettingsFilePath);
    identity.Uid = "7";
    identity.Ticket = "abc";
    identity.Save();
    CatalogueClient client;
    SetAnswer("downfile", R"({"fileurl": ["not", "a", "string"]})");
    CDownLoadUrl urls;
    EXPECT_FALSE(client.FetchDownloadAddresses(urls, "1001"));
    SetAnswer("downfile", "");
    EXPECT_FALSE(client.FetchDownloadAddresses(urls, "1001"));
    SetAnswer("downfile", "<html>");
    EXPECT_TRUE(client.FetchDownloadAddresses(urls, "1001")); // an answer, though nothing usable in it
    EXPECT_EQ(server.Requests().size(), 3u);
}
