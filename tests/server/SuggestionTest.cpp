// The suggestion action: what it keeps, what it refuses, and catalogues made before it existed.
#include "server/ServerTestSupport.h"

#include "server/AccountStore.h"
#include "server/ConnectionPool.h"
#include "service/CatalogueRequests.h"
#include "service/SuggestionRequest.h"

namespace ravelo::test {
namespace {

using SuggestionTest = ServerTest;

std::vector<server::Suggestion> StoredSuggestions(int limit)
{
    server::ConnectionPool pool(ServerTest::Root() + "catalogue.db", 1);
    return server::AccountStore(pool).RecentSuggestions(limit);
}

std::string Repeat(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST_F(SuggestionTest, KeepsTextAndContactAsSentAndCountsCharactersNotBytes)
{
    const std::string text = "希望增加更多 PSP 游戏 & 支持 100% 的手柄";
    const Json::Value kept = Api(SuggestionBody("100001", "  " + text + "  ", "qq: 12345"));
    EXPECT_EQ(1, kept["status"].asInt());
    auto stored = StoredSuggestions(1);
    ASSERT_EQ(1u, stored.size());
    EXPECT_EQ(text, stored[0].content); // trimmed, decoded, unchanged otherwise
    EXPECT_EQ("qq: 12345", stored[0].contact);
    EXPECT_EQ("100001", stored[0].uid);
    EXPECT_FALSE(stored[0].time.empty());

    // 500 Chinese characters are 1500 bytes and still one suggestion; 501 are too many.
    EXPECT_EQ(1, Api(SuggestionBody("", Repeat("好", 500), ""))["status"].asInt());
    EXPECT_EQ(500u * 3, StoredSuggestions(1)[0].content.size());
    EXPECT_EQ("建议内容过长", Api(SuggestionBody("", Repeat("好", 501), ""), 400)["msg"].asString());
}

TEST_F(SuggestionTest, RefusesBadInputWithA400AndKeepsNothing)
{
    const std::size_t before = StoredSuggestions(1000).size();
    const std::pair<std::string, std::string> cases[] = {
        {"model=user&action=suggestion&content=", "建议内容不能为空"},
        {"model=user&action=suggestion&content=+++&contact=x", "建议内容不能为空"},
        {"model=user&action=suggestion&content=%C3%28", "请求格式错误"},    // not UTF-8
        {"model=user&action=suggestion&content=%ED%A0%80", "请求格式错误"}, // a lone surrogate
        {"model=user&action=suggestion&content=a%00b", "请求格式错误"},     // a control character
        {"model=user&action=suggestion&content=%E5%A5", "请求格式错误"},    // cut short
        {"model=user&action=suggestion&content=ok&uid=" + Repeat("1", 40), "请求参数错误"},
        {SuggestionBody("", "ok", Repeat("x", 101)), "联系方式过长"},
    };
    for (const auto& [body, message] : cases) {
        const Json::Value answer = Api(body, 400);
        EXPECT_EQ(-1, answer["status"].asInt()) << body;
        EXPECT_EQ(message, answer["msg"].asString()) << body;
    }
    EXPECT_EQ(before, StoredSuggestions(1000).size());
}

TEST_F(SuggestionTest, ACatalogueWithoutTheTableGetsItWhenOpened)
{
    {
        server::ConnectionPool pool(Root() + "catalogue.db", 1);
        pool.Acquire()->Execute("DROP TABLE suggestions");
    }
    m_server.reset();
    SetUp(); // opens the catalogue again
    EXPECT_EQ(1, Api(SuggestionBody("", "又能提建议了", ""))["status"].asInt());
    EXPECT_EQ("又能提建议了", StoredSuggestions(1)[0].content);
}

} // namespace
} // namespace ravelo::test
