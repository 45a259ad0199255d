// The import manifest's text: what is a game line, what is skipped, and why a line is refused.
#include "server/ImportManifest.h"

#include <gtest/gtest.h>

namespace ravelo::test {
namespace {

using server::ImportManifest;

TEST(ImportManifestTest, ReadsGameLinesAndSkipsCommentsBlankLinesAndEncodingMarks)
{
    const ImportManifest manifest =
        ImportManifest::Parse("\xEF\xBB\xBF# id | archive | ...\r\n"
                              "\r\n"
                              "  7 |a b.zip| 名 字 |FC| 动作 | 中文 |i.png| s1.png  s2.png \r\n"
                              "8|b.zip|B|PS|2|1|i.png|\n");
    ASSERT_TRUE(manifest.problems.empty()) << manifest.problems[0].reason;
    ASSERT_EQ(manifest.games.size(), 2u);
    const auto& first = manifest.games[0];
    EXPECT_EQ(first.line, 3);
    EXPECT_EQ(first.gameId, 7);
    EXPECT_EQ(first.archive, "a b.zip");
    EXPECT_EQ(first.name, "名 字");
    EXPECT_EQ(first.category, "动作");
    EXPECT_EQ(first.screens, (std::vector<std::string>{"s1.png", "s2.png"}));
    EXPECT_TRUE(manifest.games[1].screens.empty());
}

TEST(ImportManifestTest, RefusesEachBadLineWithItsNumberAndKeepsTheGoodOnes)
{
    const std::string tail = "|a.zip|n|FC|1|1|i.png|";
    const ImportManifest manifest =
        ImportManifest::Parse("1" + tail +
                              "\n" // 1 good
                              "x" +
                              tail +
                              "\n" // 2 id not a number
                              "1234567890" +
                              tail +
                              "\n" // 3 id too long
                              "1" +
                              tail +
                              "\n"                                         // 4 duplicate
                              "2|a.zip|n|FC|1|1|i.png|a|b\n"               // 5 nine fields
                              "3|a.zip||FC|1|1|i.png|\n"                   // 6 no name
                              "4|a.zip|n|FC|1|1||\n"                       // 7 no icon
                              "5|a.zip|n\x01|FC|1|1|i.png|\n"              // 8 control byte
                              "6|a.zip|\xff|FC|1|1|i.png|\n"               // 9 not UTF-8
                              "7|a.zip|n|FC|1|1|i.png|1 2 3 4 5 6 7 8 9\n" // 10 too many screens
                              "8|a.zip|" +
                              std::string(201, 'n') + "|FC|1|1|i.png|\n"); // 11 long name
    ASSERT_EQ(manifest.games.size(), 1u);
    std::vector<int> lines;
    for (const auto& problem : manifest.problems) {
        lines.push_back(problem.line);
        EXPECT_FALSE(problem.reason.empty());
    }
    EXPECT_EQ(lines, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

} // namespace
} // namespace ravelo::test
