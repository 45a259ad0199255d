// The server's small parts that decide safety and correctness on their own: body decoding, range
// arithmetic, path checks, addresses, tickets, digests and the PNG encoder.
#include "platform/Md5.h"
#include "server/AccessLog.h"
#include "server/AccountStore.h"
#include "server/AnswerAddresses.h"
#include "server/ByteRange.h"
#include "server/FormBody.h"
#include "server/GameListQuery.h"
#include "server/PngCanvas.h"
#include "server/SafePath.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace ravelo::test {
namespace {

using server::ByteRange;
using server::FormBody;

TEST(FormBodyTest, DecodesTheClientsBodiesAndRefusesBrokenOnes)
{
    const auto form =
        FormBody::Parse("model=appstore&action=gamelist&clientparams= | |zh| | |pc1.0&categoryid= "
                        "&keyword=%E5%BF%8D%E8%80%85+star&ticket=ab%2Bc%2F%3D%3D&empty=&&flag");
    ASSERT_TRUE(form);
    EXPECT_EQ("gamelist", form->Get("action"));
    EXPECT_EQ(" | |zh| | |pc1.0", form->Get("clientparams"));
    EXPECT_EQ(" ", form->Get("categoryid"));
    EXPECT_EQ("忍者 star", form->Get("keyword"));
    EXPECT_EQ("ab+c/==", form->Get("ticket"));
    EXPECT_TRUE(form->Has("empty"));
    EXPECT_TRUE(form->Has("flag"));
    EXPECT_FALSE(form->Has("missing"));
    EXPECT_EQ("x", form->Get("missing", "x"));

    for (const char* bad : {"a=%", "a=%4", "a=%G0", "a=1&a=2", "=1", "a=%00", "a=%0A", "a=%C3%28", "%ZZ=1"})
        EXPECT_FALSE(FormBody::Parse(bad)) << bad;
    EXPECT_TRUE(FormBody::Parse(""));
}

TEST(FormBodyTest, EncodesAsTheClientDoesAndRoundTrips)
{
    EXPECT_EQ("Star+Cards", FormBody::Encode("Star Cards"));
    EXPECT_EQ("%E5%BF%8D%E8%80%85", FormBody::Encode("忍者"));
    EXPECT_EQ("a-_.~%2B%2F%3D%26%25", FormBody::Encode("a-_.~+/=&%"));
    for (const std::string text : {"", "plain", "with space", "+/=%&", "中文 mixed 1.0"})
        EXPECT_EQ(text, FormBody::Decode(FormBody::Encode(text)).value_or("<broken>"));
}

TEST(ByteRangeTest, ReadsRangesAgainstTheFileSize)
{
    struct Case
    {
        const char* header;
        ByteRange::Kind kind;
        std::int64_t start;
        std::int64_t length;
    };
    using K = ByteRange::Kind;
    const Case cases[] = {
        {"", K::Whole, 0, 0},
        {"bytes=0-0", K::Part, 0, 1},
        {"bytes=0-99", K::Part, 0, 100},
        {"bytes=990-", K::Part, 990, 10},
        {"bytes=990-5000", K::Part, 990, 10},
        {"bytes=-10", K::Part, 990, 10},
        {"bytes=-5000", K::Part, 0, 1000},
        {" bytes=5-6 ", K::Part, 5, 2},
        {"bytes=1000-", K::Unsatisfiable, 0, 0},
        {"bytes=99999999999999999999999-", K::Unsatisfiable, 0, 0},
        {"bytes=5-99999999999999999999999", K::Part, 5, 995},
        {"bytes=-0", K::Unsatisfiable, 0, 0},
        {"bytes=6-5", K::Whole, 0, 0},
        {"bytes=0-1,4-5", K::Whole, 0, 0},
        {"bytes=a-b", K::Whole, 0, 0},
        {"bytes=-", K::Whole, 0, 0},
        {"items=0-1", K::Whole, 0, 0},
    };
    for (const auto& c : cases) {
        const ByteRange range = ByteRange::Parse(c.header, 1000);
        EXPECT_EQ(c.kind, range.kind) << c.header;
        if (c.kind == K::Part) {
            EXPECT_EQ(c.start, range.start) << c.header;
            EXPECT_EQ(c.length, range.length) << c.header;
        }
    }
    EXPECT_EQ(K::Unsatisfiable, ByteRange::Parse("bytes=0-", 0).kind) << "nothing to give from an empty file";
    EXPECT_EQ(K::Unsatisfiable, ByteRange::Parse("bytes=-1", 0).kind);
}

TEST(SafePathTest, KeepsPlainNamesAndRefusesEverythingElse)
{
    EXPECT_EQ("games/1001/1001.zip", server::SafeRelativePath("games/1001/1001.zip").value_or(""));
    EXPECT_EQ("中文.png", server::SafeRelativePath("中文.png").value_or(""));
    for (const std::string& bad :
         std::vector<std::string>{"", "/etc/passwd", "..", "../x", "a/../../x", "a/./b", "a//b", "a/", "a\\b",
                                  "C:/x", "x:y", std::string("a\0b", 3), "a\nb", "\xff\xfe"})
        EXPECT_FALSE(server::SafeRelativePath(bad)) << bad;
    EXPECT_FALSE(server::SafeRelativePath(std::string(2000, 'a')));
}

TEST(AnswerAddressesTest, BuildsAddressesAndAcceptsOnlyPlainHosts)
{
    const server::AnswerAddresses paths("127.0.0.1:8650", false);
    EXPECT_EQ("/pic/icon/1.png", paths.Picture("/pic/icon/1.png"));
    EXPECT_EQ("http://127.0.0.1:8650/download/games/1/a%20b.zip", paths.Download("games/1/a b.zip"));
    EXPECT_EQ("http://127.0.0.1:8650/download/hop/2/x.zip", paths.Redirected("x.zip", 2));
    const server::AnswerAddresses absolute("example.test:80", true);
    EXPECT_EQ("http://example.test:80/pic/icon/1.png", absolute.Picture("/pic/icon/1.png"));

    for (const char* good : {"127.0.0.1:8650", "localhost", "[::1]:8650", "games.example-site.org"})
        EXPECT_TRUE(server::AnswerAddresses::IsPlainHost(good)) << good;
    for (const char* bad : {"", "evil.test/path", "a b", "host\r\nX: y", "user@host", "h?x"})
        EXPECT_FALSE(server::AnswerAddresses::IsPlainHost(bad)) << bad;
}

TEST(AccountStoreTest, TicketsAlwaysNeedPercentEncoding)
{
    std::set<std::string> tickets;
    for (int i = 0; i < 50; ++i) {
        const std::string ticket = server::AccountStore::NewTicket();
        EXPECT_EQ(36u, ticket.size());
        for (char c : {'+', '/', '='})
            EXPECT_NE(std::string::npos, ticket.find(c)) << ticket;
        tickets.insert(ticket);
    }
    EXPECT_EQ(50u, tickets.size());
}

TEST(GameListQueryTest, KeywordsCannotActAsWildcards)
{
    EXPECT_EQ("%star%", server::GameListQuery::LikePattern("star"));
    EXPECT_EQ("%100\\%\\_\\\\%", server::GameListQuery::LikePattern("100%_\\"));
    server::GameFilter filter;
    filter.keywords = {"a", "b"};
    filter.category = 3;
    const auto page = server::GameListQuery(filter).Page();
    EXPECT_EQ(std::string::npos, page.sql.find("'a'")) << "values are parameters, never statement text";
    EXPECT_EQ(7u, page.values.size()) << "category, two patterns per word, page size and offset";
}

TEST(Md5Test, MatchesKnownDigests)
{
    EXPECT_EQ("d41d8cd98f00b204e9800998ecf8427e", Md5Hex(""));
    EXPECT_EQ("900150983cd24fb0d6963f7d28e17f72", Md5Hex("abc"));
    EXPECT_FALSE(FileMd5Hex("/nonexistent/file"));
}

TEST(PngCanvasTest, EncodesAValidPictureOfTheDrawing)
{
    server::PngCanvas canvas(20, 10, {255, 0, 0});
    canvas.FillRect(5, 2, 3, 3, {0, 0, 255});
    canvas.FillCircle(15, 5, 2, {0, 255, 0});
    canvas.FillTriangle(-30, -30, -30, 34, 34, -30, {1, 2, 3}); // clipped, never out of bounds
    EXPECT_EQ(1, canvas.Pixel(0, 0).r);
    EXPECT_EQ(255, canvas.Pixel(19, 9).r);
    const std::string png = canvas.EncodePng();
    ASSERT_EQ(0u, png.rfind("\x89PNG\r\n\x1a\n", 0));

    // Walk the chunks: every CRC checks, and IDAT inflates to the filtered rows of the picture.
    std::size_t at = 8;
    std::string idat;
    std::vector<std::string> types;
    while (at + 12 <= png.size()) {
        auto byte = [&](std::size_t i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(png[i]));
        };
        const std::uint32_t length = byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
        const std::string typed = png.substr(at + 4, 4 + length);
        const std::uint32_t crc = byte(at + 8 + length) << 24 | byte(at + 9 + length) << 16 |
                                  byte(at + 10 + length) << 8 | byte(at + 11 + length);
        EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())),
                  crc);
        types.push_back(typed.substr(0, 4));
        if (types.back() == "IDAT")
            idat += typed.substr(4);
        at += 12 + length;
    }
    EXPECT_EQ((std::vector<std::string>{"IHDR", "IDAT", "IEND"}), types);
    std::string raw(10 * (20 * 3 + 1), '\0');
    uLongf rawSize = static_cast<uLongf>(raw.size());
    ASSERT_EQ(Z_OK, uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                               reinterpret_cast<const Bytef*>(idat.data()), static_cast<uLong>(idat.size())));
    EXPECT_EQ(raw.size(), rawSize);
    const std::size_t blue = 3 * (20 * 3 + 1) + 1 + 6 * 3; // row 3, pixel 6
    EXPECT_EQ(0, raw[blue]);
    EXPECT_EQ(static_cast<char>(255), raw[blue + 2]);
}

TEST(AccessLogTest, EscapesWhatWouldBreakALine)
{
    EXPECT_EQ("model=appstore&page=1", server::AccessLog::Escape("model=appstore&page=1"));
    EXPECT_EQ("a\\x0ab\\x5cc\\xe5", server::AccessLog::Escape("a\nb\\c\xe5"));
}

} // namespace
} // namespace ravelo::test
