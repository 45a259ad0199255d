// The catalogue API as the client calls it: every action's answer shape, filters, paging, search,
// registration and download addresses.
#include "server/ServerTestSupport.h"

#include "platform/Md5.h"
#include "server/DemoGames.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace ravelo::test {
namespace {

// Keys of the client's game record: all text, except needsize (a 64-bit integer).
const char* const GameTextKeys[] = {"gameid",
                                    "orgname",
                                    "icon",
                                    "tv_icon",
                                    "storeurl",
                                    "fee",
                                    "size",
                                    "package_name",
                                    "updatedtime",
                                    "version",
                                    "categoryid",
                                    "emulatorid",
                                    "start_sell_time",
                                    "playurl",
                                    "uid",
                                    "is_pk",
                                    "is_handle",
                                    "is_control",
                                    "min",
                                    "max",
                                    "video_thumbnail",
                                    "video_url",
                                    "gamename",
                                    "language",
                                    "downloads",
                                    "emulatorshortname",
                                    "categoryshortname",
                                    "good",
                                    "bad",
                                    "rating",
                                    "username",
                                    "isrootdir",
                                    "pcver",
                                    "directx",
                                    "dotnet",
                                    "vcver"};

void ExpectGameShape(const Json::Value& game)
{
    ASSERT_TRUE(game.isObject());
    for (const char* key : GameTextKeys)
        EXPECT_TRUE(game.isMember(key) && game[key].isString()) << key << " in " << game.toStyledString();
    EXPECT_TRUE(game["needsize"].isInt64() && !game["needsize"].isString());
    EXPECT_GT(game["needsize"].asInt64(), 0);
    EXPECT_EQ(0u, game["icon"].asString().rfind("/pic/", 0)) << "pictures are paths under the picture host";
}

void ExpectGroupShape(const Json::Value& groups)
{
    ASSERT_TRUE(groups.isArray());
    for (const auto& group : groups) {
        for (const char* key : {"count", "id", "name"})
            EXPECT_TRUE(group[key].isString()) << key;
    }
}

void ExpectListEnvelope(const Json::Value& list)
{
    EXPECT_TRUE(list["status"].isInt());
    EXPECT_TRUE(list["gamelist"].isArray());
    EXPECT_TRUE(list["count"].isString());
    ExpectGroupShape(list["categorygroup"]);
    ExpectGroupShape(list["emulatorgroup"]);
    ExpectGroupShape(list["languagegroup"]);
    EXPECT_TRUE(list["msg"].isString());
    EXPECT_TRUE(list["_run_time"].isDouble());
    for (const auto& game : list["gamelist"])
        ExpectGameShape(game);
}

std::set<std::string> Ids(const Json::Value& list)
{
    std::set<std::string> ids;
    for (const auto& game : list["gamelist"])
        ids.insert(game["gameid"].asString());
    return ids;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

using CatalogueApiTest = ServerTest;

TEST_F(CatalogueApiTest, UnfilteredListPagesThroughTheWholeCatalogue)
{
    const auto total = static_cast<int>(server::DemoGames().size());
    std::set<std::string> seen;
    for (int page = 1; page <= 3; ++page) {
        const Json::Value list = Api(ClientBodies::GameList(page, 30));
        ExpectListEnvelope(list);
        EXPECT_EQ(std::to_string(total), list["count"].asString()) << "count is all matches, not the page";
        const auto ids = Ids(list);
        EXPECT_EQ(page < 3 ? 30u : static_cast<std::size_t>(total - 60), ids.size());
        seen.insert(ids.begin(), ids.end());
    }
    EXPECT_EQ(static_cast<std::size_t>(total), seen.size()) << "pages overlap or miss games";

    const Json::Value beyond = Api(ClientBodies::GameList(9, 30));
    EXPECT_TRUE(beyond["gamelist"].empty());
    EXPECT_EQ(std::to_string(total), beyond["count"].asString());

    // The groups of an unfiltered list add up to the whole catalogue in each dimension.
    for (const char* key : {"categorygroup", "emulatorgroup", "languagegroup"}) {
        int sum = 0;
        for (const auto& group : beyond[key])
            sum += std::stoi(group["count"].asString());
        EXPECT_EQ(total, sum) << key;
    }
}

TEST_F(CatalogueApiTest, FiltersMatchTheCatalogueAndCombine)
{
    // System filter: the client sends its grid position ("002" is FC); a system number works too.
    std::size_t fc = 0;
    for (const auto& game : server::DemoGames())
        fc += game.system == 125;
    for (int emulator : {2, 125}) {
        const Json::Value list = Api(ClientBodies::GameList(1, 40, 0, emulator));
        EXPECT_EQ(std::to_string(fc), list["count"].asString());
        for (const auto& game : list["gamelist"]) {
            EXPECT_EQ("125", game["emulatorid"].asString());
            EXPECT_EQ("FC", game["emulatorshortname"].asString());
        }
    }
    EXPECT_EQ("0", Api(ClientBodies::GameList(1, 40, 0, 99))["count"].asString()) << "unknown system";

    // Category 002 (格斗) with language 2 (日文), in every ordering.
    std::size_t expected = 0;
    for (const auto& game : server::DemoGames())
        expected += game.category == 2 && game.language == 2;
    ASSERT_GT(expected, 1u);
    for (int order : {0, 1, 2, 7}) {
        const Json::Value list = Api(ClientBodies::GameList(1, 40, 2, 0, order, 2));
        ExpectListEnvelope(list);
        EXPECT_EQ(std::to_string(expected), list["count"].asString());
        for (const auto& game : list["gamelist"]) {
            EXPECT_EQ("2", game["categoryid"].asString());
            EXPECT_EQ("格斗", game["categoryshortname"].asString());
            EXPECT_EQ("日文", game["language"].asString());
        }
        // The category groups ignore the category filter itself, so the other types stay offered.
        EXPECT_GT(list["categorygroup"].size(), 1u);
    }
}

TEST_F(CatalogueApiTest, OrderingsSortByDateAndDownloads)
{
    const Json::Value byDate = Api(ClientBodies::GameList(1, 64, 0, 0, 1));
    for (Json::ArrayIndex i = 1; i < byDate["gamelist"].size(); ++i)
        EXPECT_GE(byDate["gamelist"][i - 1]["updatedtime"].asString(),
                  byDate["gamelist"][i]["updatedtime"].asString());

    const Json::Value byDownloads = Api(ClientBodies::GameList(1, 64, 0, 0, 2));
    for (Json::ArrayIndex i = 1; i < byDownloads["gamelist"].size(); ++i)
        EXPECT_GE(std::stoll(byDownloads["gamelist"][i - 1]["downloads"].asString()),
                  std::stoll(byDownloads["gamelist"][i]["downloads"].asString()));

    const Json::Value recommended = Api(ClientBodies::GameList(1, 64, 0, 0, 0));
    std::vector<int> ids;
    for (const auto& game : recommended["gamelist"])
        ids.push_back(std::stoi(game["gameid"].asString()));
    EXPECT_EQ(64u, ids.size());
    EXPECT_FALSE(std::is_sorted(ids.begin(), ids.end())) << "recommendation order is the catalogue's own";
}

TEST_F(CatalogueApiTest, KeywordSearchCoversChineseAndLatinNames)
{
    const Json::Value ninja = Api(ClientBodies::Search("忍者"));
    std::set<std::string> expected;
    for (const auto& game : server::DemoGames()) {
        if (std::string(game.name).find("忍者") != std::string::npos)
            expected.insert(std::to_string(game.id));
    }
    ASSERT_EQ(2u, expected.size());
    EXPECT_EQ(expected, Ids(ninja));

    // Two Latin words arrive as "star+cards"; case does not matter.
    const Json::Value twoWords = Api(ClientBodies::Search("STAR cards"));
    ASSERT_EQ(1u, twoWords["gamelist"].size());
    EXPECT_EQ("Star Cards", twoWords["gamelist"][0]["orgname"].asString());

    expected.clear();
    for (const auto& game : server::DemoGames()) {
        if (Lower(std::string(game.orgName)).find("star") != std::string::npos)
            expected.insert(std::to_string(game.id));
    }
    EXPECT_EQ(expected, Ids(Api(ClientBodies::Search("sTaR"))));

    // LIKE wildcards in a keyword match only themselves.
    EXPECT_EQ("0", Api(ClientBodies::Search("%"))["count"].asString());
    EXPECT_EQ("0", Api(ClientBodies::Search("S_ar"))["count"].asString());
    // A blank keyword is no keyword.
    EXPECT_EQ(std::to_string(server::DemoGames().size()), Api(ClientBodies::Search(" "))["count"].asString());
}

TEST_F(CatalogueApiTest, SpecialTopicsAndTheHomePage)
{
    const Json::Value home = Api(ClientBodies::Home());
    EXPECT_FALSE(home.isMember("status")) << "the home page has no envelope";
    ASSERT_TRUE(home["special_list"].isArray());
    ASSERT_GE(home["special_list"].size(), 3u);
    for (const auto& topic : home["special_list"]) {
        for (const char* key : {"id", "name", "desc", "count", "icon", "banner"})
            EXPECT_TRUE(topic[key].isString()) << key;
    }
    for (const char* key : {"game_list_recommend", "game_list_hot", "game_list_fight", "game_list_shoot",
                            "game_list_racing", "game_list_action", "game_list_totalhot", "game_list_new"}) {
        ASSERT_TRUE(home[key].isArray()) << key;
        EXPECT_FALSE(home[key].empty()) << key;
        for (const auto& game : home[key])
            ExpectGameShape(game);
    }
    for (const auto& game : home["game_list_fight"])
        EXPECT_EQ("2", game["categoryid"].asString());
    ExpectGameShape(home["game_top"]);
    for (const char* key : {"ads_index_left", "ads_index_gamedetail"}) {
        ASSERT_TRUE(home[key].isArray());
        EXPECT_FALSE(home[key].empty());
        for (const auto& ad : home[key]) {
            for (const char* field : {"title", "target", "action", "needlogin", "order_num", "icon",
                                      "version", "device", "id", "desc", "attach_id", "group_id", "ad_id"})
                EXPECT_TRUE(ad[field].isString()) << field;
            if (ad["action"] == "url") {
                EXPECT_EQ(0u, ad["target"].asString().rfind(Base(), 0)) << "a portal link names this server";
            }
        }
    }

    // Each topic lists exactly as many games as the home page says it holds.
    for (const auto& topic : home["special_list"]) {
        const int id = std::stoi(topic["id"].asString());
        const Json::Value list = Api(ClientBodies::Special(id, 1, 100));
        ExpectListEnvelope(list);
        EXPECT_EQ(topic["count"].asString(), list["count"].asString());
        EXPECT_EQ(std::stoul(list["count"].asString()), list["gamelist"].size());
    }
    const Json::Value fights = Api(ClientBodies::Special(1));
    for (const auto& game : fights["gamelist"])
        EXPECT_EQ("2", game["categoryid"].asString());

    EXPECT_EQ(-1, Api(ClientBodies::Special(0), 404)["status"].asInt()) << "topic 000 does not exist";
    EXPECT_EQ(-1, Api(ClientBodies::Special(99), 404)["status"].asInt());
}

TEST_F(CatalogueApiTest, GameDetailCarriesDescriptionAndFetchableScreens)
{
    const Json::Value answer = Api(ClientBodies::Detail("1071"));
    EXPECT_TRUE(answer["status"].isInt());
    EXPECT_TRUE(answer["count"].isInt());
    EXPECT_TRUE(answer["_run_time"].isDouble());
    const Json::Value& info = answer["gameinfo"];
    ExpectGameShape(info);
    EXPECT_EQ("1071", info["gameid"].asString());
    EXPECT_EQ("危城求生", info["gamename"].asString());
    EXPECT_NE(std::string::npos, info["description"].asString().find("危城求生"));
    EXPECT_TRUE(info["commentcount"].isString());
    ASSERT_TRUE(info["screens"].isArray());
    ASSERT_EQ(3u, info["screens"].size());
    for (const auto& screen : info["screens"]) {
        const std::string png = Fetch(Base() + screen.asString());
        EXPECT_EQ(0u, png.rfind("\x89PNG\r\n\x1a\n", 0));
    }
    EXPECT_EQ(-1, Api(ClientBodies::Detail("9999"), 404)["status"].asInt());
    EXPECT_EQ(-1, Api(ClientBodies::Detail("abc"), 400)["status"].asInt());
}

TEST_F(CatalogueApiTest, RegisteredUserGetsDownloadAddressesWithAGoodTicketOnly)
{
    const Json::Value user = Api(ClientBodies::Register());
    EXPECT_TRUE(user["status"].isInt());
    EXPECT_TRUE(user["uid"].isString());
    EXPECT_TRUE(user["username"].isString());
    EXPECT_TRUE(user["prohibited"].isBool());
    EXPECT_TRUE(user["msg"].isString());
    EXPECT_TRUE(user["_run_time"].isDouble());
    const std::string uid = user["uid"].asString();
    const std::string ticket = user["ticket"].asString();
    for (char c : {'+', '/', '='})
        EXPECT_NE(std::string::npos, ticket.find(c)) << "the ticket must need percent-encoding: " << ticket;
    EXPECT_NE(uid, Api(ClientBodies::Register())["uid"].asString()) << "every registration is a new user";

    const std::string encoded = server::FormBody::Encode(ticket);
    const Json::Value addresses = Api(ClientBodies::DownFile(uid, encoded, "1001"));
    EXPECT_TRUE(addresses["status"].isInt());
    EXPECT_TRUE(addresses["msg"].isString());
    EXPECT_TRUE(addresses["filelist"].isArray());
    EXPECT_TRUE(addresses["filelist2"].isArray());
    EXPECT_TRUE(addresses["cloudurl"].isObject());
    EXPECT_TRUE(addresses["cloudurl"]["baidu"].isArray());
    EXPECT_TRUE(addresses["cloudurl"]["baidu"].empty()) << "no share links unless configured";
    EXPECT_EQ("1001.zip", addresses["filename"].asString());
    EXPECT_TRUE(addresses["needsize"].isInt64() && !addresses["needsize"].isString());
    EXPECT_TRUE(addresses["_run_time"].isDouble());
    EXPECT_EQ("0", addresses["volume"].asString());
    EXPECT_EQ("", addresses["volumeurl"].asString());
    EXPECT_EQ("", addresses["fileurl2"].asString());
    ASSERT_TRUE(addresses["verify"].isArray());
    ASSERT_EQ(1u, addresses["verify"].size());
    EXPECT_EQ("1001.nes", addresses["verify"][0]["path"].asString());
    EXPECT_TRUE(addresses["verify"][0]["size"].isString());
    EXPECT_EQ(32u, addresses["verify"][0]["verify"].asString().size());

    // The archive at fileurl is what filemd5 says.
    const std::string archive = Fetch(addresses["fileurl"].asString());
    EXPECT_EQ(addresses["filemd5"].asString(), Md5Hex(archive));
    // The mirror in filelist reaches the same file through a redirect.
    auto client = Client();
    const std::string mirror = addresses["filelist"][0].asString();
    const auto hop = client.Get(mirror.substr(Base().size()));
    ASSERT_TRUE(hop);
    EXPECT_EQ(302, hop->status);
    EXPECT_EQ(addresses["fileurl"].asString(), hop->get_header_value("Location"));

    // Refusals: a wrong ticket, the ticket sent without encoding ('+' then reads as a space), an
    // unknown user; and an unknown game for a good user.
    EXPECT_EQ(-1, Api(ClientBodies::DownFile(uid, encoded + "x", "1001"), 403)["status"].asInt());
    EXPECT_EQ(-1, Api(ClientBodies::DownFile(uid, ticket, "1001"), 403)["status"].asInt());
    EXPECT_EQ(-1, Api(ClientBodies::DownFile("999999", encoded, "1001"), 403)["status"].asInt());
    EXPECT_EQ(-1, Api(ClientBodies::DownFile(uid, encoded, "4242"), 404)["status"].asInt());
}

TEST_F(CatalogueApiTest, VolumesAppendToTheWholeArchiveAndTheUnpackedVariantIsTheSet)
{
    const Json::Value user = Api(ClientBodies::Register());
    const std::string uid = user["uid"].asString();
    const std::string ticket = server::FormBody::Encode(user["ticket"].asString());

    for (int gameId : server::DemoBuilder::VolumeGames()) {
        const Json::Value answer = Api(ClientBodies::DownFile(uid, ticket, std::to_string(gameId)));
        EXPECT_EQ("1", answer["volume"].asString());
        // "addr|1,addr|2,...": numbered from 1, in order.
        std::string joined;
        int expectedNumber = 1;
        std::string volumeUrl = answer["volumeurl"].asString();
        std::size_t start = 0;
        while (start < volumeUrl.size()) {
            auto end = volumeUrl.find(',', start);
            if (end == std::string::npos)
                end = volumeUrl.size();
            const std::string pair = volumeUrl.substr(start, end - start);
            const auto bar = pair.find('|');
            ASSERT_NE(std::string::npos, bar) << pair;
            EXPECT_EQ(std::to_string(expectedNumber++), pair.substr(bar + 1));
            joined += Fetch(pair.substr(0, bar));
            start = end + 1;
        }
        EXPECT_GE(expectedNumber, 3) << "a game in volumes has at least two of them";
        EXPECT_EQ(answer["filemd5"].asString(), Md5Hex(joined));
        const ZipContents zip = ReadZipBytes(*s_catalogue, joined);
        EXPECT_TRUE(zip.valid);
    }

    const int unpacked = server::DemoBuilder::UnpackedGame();
    const Json::Value answer = Api(ClientBodies::DownFile(uid, ticket, std::to_string(unpacked)));
    ASSERT_FALSE(answer["fileurl2"].asString().empty());
    ASSERT_EQ(1u, answer["filelist2"].size());
    const std::string set = Fetch(answer["fileurl2"].asString());
    const ZipContents archive = ReadZipBytes(*s_catalogue, Fetch(answer["fileurl"].asString()));
    const std::string name = std::to_string(unpacked) + ".zip";
    ASSERT_EQ(1u, archive.files.count(name));
    EXPECT_EQ(archive.files.at(name), set) << "the unpacked variant is the file the archive unpacks to";
    EXPECT_EQ(answer["verify"][0]["verify"].asString(), Md5Hex(set));
}

TEST_F(CatalogueApiTest, MalformedRequestsGetCleanErrors)
{
    const std::pair<std::string, int> cases[] = {
        {"model=appstore&action=nothing", 400},
        {"model=store&action=gamelist", 400},
        {"action=gamelist", 400},
        {"", 400},
        {"model=appstore&action=gamelist&page=abc", 400},
        {"model=appstore&action=gamelist&categoryid=1%2", 400},
        {"model=appstore&action=gamelist&keyword=%C3%28", 400},
        {"model=appstore&action=gamelist&model=user", 400},
        {"model=appstore&action=gamelist&keyword=%00", 400},
        {"model=user&action=register", 400},
        {"model=user&action=downfile&uid=1&ticket=x", 400},
    };
    for (const auto& [body, status] : cases) {
        const Json::Value answer = Api(body, status);
        EXPECT_EQ(-1, answer["status"].asInt()) << body;
        EXPECT_FALSE(answer["msg"].asString().empty()) << body;
    }
    // Oversized pages are cut, not refused.
    EXPECT_LE(Api(ClientBodies::GameList(1, 100000))["gamelist"].size(), 200u);

    auto client = Client();
    const auto get = client.Get("/clientapi/");
    ASSERT_TRUE(get);
    EXPECT_EQ(405, get->status);
    const auto huge = client.Post("/clientapi/", std::string(200 * 1024, 'a'), "application/octet-stream");
    ASSERT_TRUE(huge);
    EXPECT_EQ(413, huge->status);
    EXPECT_EQ(-1, ParseJson(huge->body)["status"].asInt());
    // The server still answers after all of it.
    EXPECT_EQ(std::to_string(server::DemoGames().size()),
              Api(ClientBodies::GameList(1, 1))["count"].asString());
}

} // namespace
} // namespace ravelo::test
