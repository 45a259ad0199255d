#include "platform/TextConvert.h"
#include "service/CBaiduPanResponse.h"
#include "service/CDownLoadUrl.h"
#include "service/CFeatured.h"
#include "service/CGameInfoObj.h"
#include "service/CGameList.h"
#include "service/CUserInfo.h"

#include <gtest/gtest.h>
#include <json/value.h>
#include <utility>

using namespace ravelo;

namespace {

std::vector<std::pair<std::string, int>> Declared(CJsonObjectBase& record)
{
    std::vector<std::pair<std::string, int>> declared;
    for (const auto& field : record.Fields())
        declared.emplace_back(field.name, field.type);
    return declared;
}

} // namespace

TEST(Records, GameListDecodesEnvelopeGamesAndGroups)
{
    CGameList list;
    ASSERT_TRUE(list.Decode(R"({
        "status": 1, "count": "2", "msg": "成功", "_run_time": 0,
        "gamelist": [
            {"gameid": "1001", "gamename": "魂斗罗", "orgname": "Contra", "emulatorshortname": "FC",
             "size": "0.25", "needsize": 262144, "language": "中文"},
            {"gameid": "1002", "gamename": "Street Fighter", "needsize": 5000000000}
        ],
        "categorygroup": [{"count": "10", "id": "012", "name": "动作"}],
        "emulatorgroup": [{"count": "5", "id": "125", "name": "红白机"}],
        "languagegroup": [{"count": "7", "id": "1", "name": "中文"}]
    })"));
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(list.count, "2");
    EXPECT_EQ(list.msg, "成功"); // narrow fields are in the OEM code page, which is UTF-8 here
    EXPECT_FLOAT_EQ(list._run_time, 0.0f);
    ASSERT_EQ(list.gamelist.size(), 2u);
    EXPECT_EQ(list.gamelist[0].gameid, "1001");
    EXPECT_EQ(list.gamelist[0].gamename, u"魂斗罗");
    EXPECT_EQ(list.gamelist[0].orgname, u"Contra");
    EXPECT_EQ(list.gamelist[0].language, u"中文");
    EXPECT_EQ(list.gamelist[0].needsize, 262144);
    EXPECT_EQ(list.gamelist[1].needsize, 5000000000LL);
    EXPECT_EQ(list.gamelist[1].emulatorshortname, u""); // missing keys give empty values
    ASSERT_EQ(list.categorygroup.size(), 1u);
    EXPECT_EQ(list.categorygroup[0].name, "动作");
    ASSERT_EQ(list.emulatorgroup.size(), 1u);
    EXPECT_EQ(list.emulatorgroup[0].name, u"红白机");
    ASSERT_EQ(list.languagegroup.size(), 1u);
    EXPECT_EQ(list.languagegroup[0].id, "1");
}

TEST(Records, ListsThatAreEmptyNullMissingOrNotArraysLeaveTheOtherKeysDecoded)
{
    CGameList empty;
    ASSERT_TRUE(empty.Decode(R"({"status": 1, "gamelist": [], "count": "0", "msg": "none"})"));
    EXPECT_TRUE(empty.gamelist.empty());
    EXPECT_EQ(empty.count, "0");
    EXPECT_EQ(empty.msg, "none");

    CGameList notArray;
    ASSERT_TRUE(notArray.Decode(R"({"gamelist": "oops", "count": "3", "categorygroup": {"id": "1"},
                                   "emulatorgroup": null, "msg": "later keys still count", "_run_time": 1.5})"));
    EXPECT_TRUE(notArray.gamelist.empty());
    EXPECT_TRUE(notArray.categorygroup.empty());
    EXPECT_TRUE(notArray.emulatorgroup.empty());
    EXPECT_EQ(notArray.count, "3");
    EXPECT_EQ(notArray.msg, "later keys still count");
    EXPECT_FLOAT_EQ(notArray._run_time, 1.5f);

    CGameList nullRoot; // "null" is JSON: every field keeps its zero value
    EXPECT_TRUE(nullRoot.Decode("null"));
    EXPECT_EQ(nullRoot.status, 0);
    EXPECT_TRUE(nullRoot.gamelist.empty());
}

TEST(Records, MissingKeysOverwriteEarlierValuesWithZero)
{
    CGame game;
    game.needsize = 99;
    game.gameid = "old";
    game.gamename = u"old";
    ASSERT_TRUE(game.Decode(R"({"size": "12"})"));
    EXPECT_EQ(game.needsize, 0);
    EXPECT_EQ(game.gameid, "");
    EXPECT_EQ(game.gamename, u"");
    EXPECT_EQ(game.size, "12");
}

TEST(Records, ValuesOfTheWrongTypeRaise)
{
    CGame game;
    EXPECT_THROW(game.Decode(R"({"needsize": "123"})"), std::exception);
    CGame objectForString;
    EXPECT_THROW(objectForString.Decode(R"({"gameid": {"a": 1}})"), std::exception);
    CGameList wrongElement;
    EXPECT_THROW(wrongElement.Decode(R"({"gamelist": [42]})"), std::exception);
    CGameList arrayRoot;
    EXPECT_THROW(arrayRoot.Decode("[1, 2]"), std::exception);
    CGame invalidUtf8; // JSON escapes cannot make broken UTF-8, raw bytes can
    EXPECT_THROW(invalidUtf8.Decode("{\"gamename\": \"\xff\xfe\"}"), TextConversionError);
    CUserInfo user;
    EXPECT_THROW(user.Decode(R"({"prohibited": "yes"})"), std::exception);
}

TEST(Records, TextThatIsNotJsonLeavesTheRecordUntouched)
{
    CGameList list;
    ASSERT_TRUE(list.Decode(R"({"count": "5", "gamelist": [{"gameid": "1"}]})"));
    for (const char* text : {"", "<html>502 Bad Gateway</html>", "{\"count\": \"6\"", "{'count': 7}"})
        EXPECT_FALSE(list.Decode(std::string(text))) << text;
    EXPECT_EQ(list.count, "5");
    EXPECT_EQ(list.gamelist.size(), 1u);
}

TEST(Records, DecodingTwiceAppendsToTheLists)
{
    const std::string text = R"({"gamelist": [{"gameid": "1"}, {"gameid": "2"}], "count": "2"})";
    CGameList list;
    ASSERT_TRUE(list.Decode(text));
    ASSERT_TRUE(list.Decode(text));
    ASSERT_EQ(list.gamelist.size(), 4u);
    EXPECT_EQ(list.gamelist[2].gameid, "1");
    EXPECT_EQ(list.count, "2");
}

TEST(Records, GameDetailKeepsTheGameFieldsThenItsOwn)
{
    CGameInfo info;
    std::vector<std::pair<std::string, int>> expected = {{"gameid", 4},
                                                         {"orgname", 12},
                                                         {"icon", 4},
                                                         {"tv_icon", 4},
                                                         {"storeurl", 4},
                                                         {"fee", 4},
                                                         {"size", 4},
                                                         {"package_name", 4},
                                                         {"updatedtime", 4},
                                                         {"version", 4},
                                                         {"categoryid", 4},
                                                         {"emulatorid", 4},
                                                         {"start_sell_time", 4},
                                                         {"playurl", 4},
                                                         {"uid", 4},
                                                         {"is_pk", 4},
                                                         {"is_handle", 4},
                                                         {"is_control", 4},
                                                         {"min", 4},
                                                         {"max", 4},
                                                         {"video_thumbnail", 4},
                                                         {"video_url", 4},
                                                         {"gamename", 12},
                                                         {"language", 12},
                                                         {"downloads", 4},
                                                         {"emulatorshortname", 12},
                                                         {"categoryshortname", 12},
                                                         {"good", 4},
                                                         {"bad", 4},
                                                         {"rating", 4},
                                                         {"username", 12},
                                                         {"needsize", 5},
                                                         {"isrootdir", 4},
                                                         {"pcver", 4},
                                                         {"directx", 4},
                                                         {"dotnet", 4},
                                                         {"vcver", 4},
                                                         {"description", 12},
                                                         {"screens", 9},
                                                         {"commentcount", 4}};
    EXPECT_EQ(Declared(info), expected);

    CGameInfoObj detail;
    ASSERT_TRUE(detail.Decode(R"({"status": 1, "count": 3, "msg": "", "_run_time": 0.25,
        "gameinfo": {"gameid": "77", "gamename": "洛克人", "description": "第一行\n第二行",
                     "screens": ["http://p/1.jpg", "http://p/2.jpg"], "commentcount": "9",
                     "categoryshortname": "动作", "rating": "3.5"}})"));
    EXPECT_EQ(detail.count, 3);
    EXPECT_EQ(detail.gameinfo.gameid, "77");
    EXPECT_EQ(detail.gameinfo.description, u"第一行\n第二行");
    EXPECT_EQ(detail.gameinfo.screens, (std::vector<std::string>{"http://p/1.jpg", "http://p/2.jpg"}));
    EXPECT_EQ(detail.gameinfo.categoryshortname, u"动作");

    CGameInfoObj nullDetail; // an embedded record under null is left alone
    nullDetail.gameinfo.gameid = "kept";
    ASSERT_TRUE(nullDetail.Decode(R"({"gameinfo": null, "status": 2})"));
    EXPECT_EQ(nullDetail.gameinfo.gameid, "kept");
    EXPECT_EQ(nullDetail.status, 2);
}

TEST(Records, ACopyHoldsTheValuesAndDecodesIntoItselfOnly)
{
    CGameInfo original;
    ASSERT_TRUE(original.Decode(R"({"gameid": "5", "gamename": "原作", "screens": ["a"]})"));
    CGameInfo copy(original);
    EXPECT_EQ(copy.gamename, u"原作");
    ASSERT_TRUE(copy.Decode(R"({"gameid": "6", "screens": ["b"]})"));
    EXPECT_EQ(copy.gameid, "6");
    EXPECT_EQ(copy.screens, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(original.gameid, "5");
    EXPECT_EQ(original.screens, (std::vector<std::string>{"a"}));

    CGame slice;
    slice = original; // a window's game takes the detail's CGame fields
    EXPECT_EQ(slice.gamename, u"原作");
    ASSERT_TRUE(slice.Decode(R"({"gameid": "7"})"));
    EXPECT_EQ(original.gameid, "5");
}

TEST(Records, HomePageBuildsEachListWithItsOwnClass)
{
    CFeatured home;
    ASSERT_TRUE(home.Decode(R"({
        "special_list": [{"id": "3", "name": "专题", "desc": "说明", "count": "12", "banner": "b.png"}],
        "game_list_recommend": [{"gameid": "1"}], "game_list_hot": [{"gameid": "2"}, {"gameid": "3"}],
        "game_list_fight": [], "game_list_shoot": [{"gameid": "4"}], "game_list_racing": [{"gameid": "5"}],
        "game_list_action": [{"gameid": "6"}], "game_list_totalhot": [{"gameid": "7"}],
        "game_list_new": [{"gameid": "8"}],
        "game_top": {"gameid": "9", "gamename": "头条"},
        "ads_index_left": [{"title": "广告", "ad_id": "42", "target": "http://x"}],
        "ads_index_gamedetail": [{"title": "detail", "order_num": "1"}]})"));
    ASSERT_EQ(home.special_list.size(), 1u);
    EXPECT_EQ(home.special_list[0].name, u"专题");
    EXPECT_EQ(home.special_list[0].banner, "b.png");
    EXPECT_EQ(home.game_list_hot.size(), 2u);
    EXPECT_EQ(home.game_list_hot[1].gameid, "3");
    EXPECT_TRUE(home.game_list_fight.empty());
    EXPECT_EQ(home.game_list_new[0].gameid, "8");
    EXPECT_EQ(home.game_list_totalhot[0].gameid, "7");
    EXPECT_EQ(home.game_top.gamename, u"头条");
    ASSERT_EQ(home.ads_index_left.size(), 1u);
    EXPECT_EQ(home.ads_index_left[0].ad_id, "42");
    EXPECT_EQ(home.ads_index_gamedetail[0].order_num, "1");
    EXPECT_EQ(home.CreateListElement("Game_List_Hot"), nullptr); // keys compare exactly
}

TEST(Records, DownloadAddressesAndCloudDriveAnswers)
{
    CDownLoadUrl urls;
    ASSERT_TRUE(urls.Decode(R"({"filelist": ["http://s/2.zip", "http://s/3.zip"], "filelist2": [],
        "cloudurl": {"baidu": ["http://pan/1|1,http://pan/2|2"]}, "status": 1, "msg": "ok",
        "fileurl": "http://s/1.zip", "fileurl2": "http://s/unpacked/", "filename": "1001.zip",
        "needsize": 1048576, "filemd5": "d41d8cd98f00b204e9800998ecf8427e",
        "verify": [{"path": "game.nes", "size": "40976", "verify": "abc"}], "_run_time": 0.01,
        "volume": "1", "volumeurl": "http://s/a|1,http://s/b|2"})"));
    EXPECT_EQ(urls.filelist, (std::vector<std::string>{"http://s/2.zip", "http://s/3.zip"}));
    ASSERT_EQ(urls.cloudurl.baidu.size(), 1u);
    EXPECT_EQ(urls.cloudurl.baidu[0], "http://pan/1|1,http://pan/2|2");
    EXPECT_EQ(urls.fileurl2, "http://s/unpacked/");
    EXPECT_EQ(urls.needsize, 1048576);
    ASSERT_EQ(urls.verify.size(), 1u);
    EXPECT_EQ(urls.verify[0].path, "game.nes");
    EXPECT_EQ(urls.verify[0].verify, "abc");
    EXPECT_EQ(urls.volumeurl, "http://s/a|1,http://s/b|2");

    CBaiduPanResponse pan;
    ASSERT_TRUE(
        pan.Decode(R"({"errno": -19, "request_id": 8123456789012, "img": "http://c/i.jpg", "vcode": "t"})"));
    EXPECT_EQ(pan.error_no, -19);
    EXPECT_EQ(pan.request_id, 8123456789012LL);
    EXPECT_EQ(pan.vcode, "t");

    CUserInfo user;
    ASSERT_TRUE(user.Decode(R"({"status": 1, "uid": "42", "prohibited": true, "ticket": "a b"})"));
    EXPECT_TRUE(user.prohibited);
    EXPECT_EQ(user.ticket, "a b");
}
