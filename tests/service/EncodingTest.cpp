#include "platform/TextConvert.h"
#include "service/CacheTextCodec.h"
#include "service/CatalogueClient.h"
#include "service/CatalogueRequests.h"
#include "service/PageViewPinger.h"
#include "settings/AppPaths.h"

#include <gtest/gtest.h>

using namespace ravelo;

TEST(RequestEncoding, FiltersLanguageAndOrder)
{
    EXPECT_EQ(FormatFilterId(0), " ");
    EXPECT_EQ(FormatFilterId(7), "007");
    EXPECT_EQ(FormatFilterId(12), "012");
    EXPECT_EQ(FormatFilterId(1234), "1234");
    EXPECT_EQ(FormatTopicId(0), "000");
    EXPECT_EQ(FormatTopicId(5), "005");
    EXPECT_EQ(FormatLanguage(0), " ");
    EXPECT_EQ(FormatLanguage(3), "3");
    EXPECT_EQ(OrderByCode(0), "recommend");
    EXPECT_EQ(OrderByCode(1), "new");
    EXPECT_EQ(OrderByCode(2), "hot");
    EXPECT_EQ(OrderByCode(3), "");
    EXPECT_EQ(OrderByCode(-1), "");
}

TEST(RequestEncoding, KeywordsArePercentEncodedUtf8WithPlusForSpace)
{
    EXPECT_EQ(PercentEncode("super mario"), "super+mario");
    EXPECT_EQ(PercentEncode("AZaz09-_.~"), "AZaz09-_.~");
    EXPECT_EQ(PercentEncode("a&b=c/d?e+f%"), "a%26b%3Dc%2Fd%3Fe%2Bf%25");
    EXPECT_EQ(PercentEncode("魂斗罗"), "%E9%AD%82%E6%96%97%E7%BD%97");
    EXPECT_EQ(PercentEncode(std::string("\x00\x7f\xff", 3)), "%00%7F%FF");
}

TEST(RequestEncoding, BodiesFollowTheTemplatesByteForByte)
{
    EXPECT_EQ(GameListBody(1, 40, 0, 0, 0, 0),
              "model=appstore&action=gamelist&clientparams= | |zh| | |pc1.0&page=1&pagesize=40"
              "&categoryid= &emulatorid= &orderby=recommend&language= ");
    EXPECT_EQ(GameListBody(3, 20, 12, 125, 2, 1),
              "model=appstore&action=gamelist&clientparams= | |zh| | |pc1.0&page=3&pagesize=20"
              "&categoryid=012&emulatorid=125&orderby=hot&language=1");
    EXPECT_EQ(SearchBody(2, 40, 0, 7, "魂斗罗 2", 1, 0),
              "model=appstore&action=gamelist&clientparams= | |zh| | |pc1.0&page=2&pagesize=40"
              "&categoryid= &emulatorid=007&keyword=%E9%AD%82%E6%96%97%E7%BD%97+2&orderby=new&language= ");
    EXPECT_THROW(SearchBody(1, 40, 0, 0, "\xc3", 0, 0), TextConversionError);
    EXPECT_EQ(SpecialTopicBody(1, 16, 0),
              "model=appstore&action=specialinfo&clientparams= | |zh| | |pc1.0&page=1&pagesize=16&id=000"
              "&orderby=recommend");
    EXPECT_EQ(HomePageBody(), "model=appstore&action=pc_index&clientparams= | |zh| | |pc1.0");
    EXPECT_EQ(GameDetailBody("1001"),
              "model=appstore&action=gameinfo&clientparams= | |zh| | |pc1.0&gameid=1001");
    EXPECT_EQ(GameDetailBody("1&x=2"),
              "model=appstore&action=gameinfo&clientparams= | |zh| | |pc1.0&gameid=1%26x%3D2");
    EXPECT_EQ(RegisterBody(12345678), "model=user&action=register&password=12345678");
}

TEST(RequestEncoding, TheStoredTicketIsNotEncodedTwice)
{
    EXPECT_TRUE(IsPercentEncoded("abc%2F%3d+x-_.~"));
    EXPECT_FALSE(IsPercentEncoded("a b"));
    EXPECT_FALSE(IsPercentEncoded("a%2"));
    EXPECT_FALSE(IsPercentEncoded("a%zz"));
    EXPECT_FALSE(IsPercentEncoded("a&b"));
    EXPECT_EQ(DownFileBody("42", "a%2Fb+c", "1001"),
              "model=user&action=downfile&uid=42&ticket=a%2Fb+c&gameid=1001");
    EXPECT_EQ(DownFileBody("4 2", "t&u=v", "1/2"),
              "model=user&action=downfile&uid=4+2&ticket=t%26u%3Dv&gameid=1%2F2");
}

TEST(CacheText, KnownVectorsOverTheProgramsOwnTable)
{
    // "Man" = 010011 010110 000101 101110 -> 19 22 5 46 -> T W F u (letters sit where Base64 has them)
    EXPECT_EQ(EncodeCacheText("Man"), "TWFu");
    // 0xD3 0xDF 0xBF = 110100 111101 111110 111111 -> 52 61 62 63 -> '1' '0' '+' '='
    // (standard Base64 would give "09+/")
    EXPECT_EQ(EncodeCacheText("\xD3\xDF\xBF"), "10+=");
    // one byte left: 0xFF -> 111111 11(0000) -> 63 48 -> '=' 'w', no padding
    EXPECT_EQ(EncodeCacheText("\xFF"), "=w");
    // two bytes left: 0x00 0x01 -> 000000 000000 0001(00) -> 0 0 4 -> "AAE"
    EXPECT_EQ(EncodeCacheText(std::string("\x00\x01", 2)), "AAE");
    EXPECT_EQ(EncodeCacheText("hi!a"), "aGkhYQ");
    EXPECT_EQ(EncodeCacheText(""), "");

    EXPECT_EQ(DecodeCacheText("10+="), "\xD3\xDF\xBF");
    EXPECT_EQ(DecodeCacheText("aGkhYQ"), "hi!a");
    EXPECT_EQ(DecodeCacheText("TWFuA"), "Man");                  // a final single symbol is ignored
    EXPECT_EQ(DecodeCacheText("T*Fu"), DecodeCacheText("TAFu")); // outside the table counts as 0
}

TEST(CacheText, EveryByteAndEveryTailLengthRoundTrips)
{
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    for (std::size_t length = 0; length <= all.size(); ++length) {
        const std::string bytes = all.substr(all.size() - length);
        const std::string text = EncodeCacheText(bytes);
        EXPECT_EQ(text.size(), length / 3 * 4 + (length % 3 ? length % 3 + 1 : 0));
        EXPECT_EQ(text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890+="),
                  std::string::npos);
        ASSERT_EQ(DecodeCacheText(text), bytes) << length;
    }
}

TEST(DetailCachePath, OnlyPlainIdsBecomeFileNames)
{
    const std::string saved = DataFolder;
    DataFolder = "/tmp/RaveloAppStore/";
    EXPECT_EQ(CatalogueClient::GameDetailCachePath("1001"),
              "/tmp/RaveloAppStore/GameInfoCache/1001/1001.gameinfo");
    EXPECT_EQ(CatalogueClient::GameDetailCachePath("ab-C_9"),
              "/tmp/RaveloAppStore/GameInfoCache/ab-C_9/ab-C_9.gameinfo");
    for (const char* id : {"", "../../x", "..", "a/b", "a\\b", "a b", "名字", "a.b"})
        EXPECT_EQ(CatalogueClient::GameDetailCachePath(id), "") << id;
    EXPECT_EQ(CatalogueClient::GameDetailCachePath(std::string(129, 'a')), "");
    DataFolder = saved;
}

TEST(PageView, UserAgentNamesTheKernelVersionAndWordSize)
{
    EXPECT_EQ(PingUserAgent("6.1.0-18-amd64", "x86_64"),
              "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64)");
    EXPECT_EQ(PingUserAgent("5.10.0", "aarch64"),
              "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 5.10; WOW64)");
    EXPECT_EQ(PingUserAgent("4.19.1", "i686"), "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 4.19; WOW32)");
    EXPECT_EQ(PingUserAgent("", ""), "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 0.0; WOW32)");

    ServiceEndpoints endpoints;
    endpoints.StatUrl = "http://s/wapstat.php?siteid=8650";
    endpoints.PortalUrl = "http://p/portal/";
    EXPECT_EQ(PingAddress(endpoints, "01234567"),
              "http://s/wapstat.php?siteid=8650&r=http://p/portal/&rnd=01234567");
    for (int i = 0; i < 20; ++i) {
        const std::string token = PingToken();
        ASSERT_EQ(token.size(), 8u);
        EXPECT_EQ(token.find_first_not_of("012345678"), std::string::npos) << token;
    }
}
