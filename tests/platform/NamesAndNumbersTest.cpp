#include "platform/Decimal.h"
#include "platform/PlainName.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace ravelo;

TEST(PlainName, OnlyOnePathPartWithoutControlsPasses)
{
    EXPECT_TRUE(IsPlainName("1001"));
    EXPECT_TRUE(IsPlainName("魂斗罗"));
    EXPECT_TRUE(IsPlainName("a..b"));
    EXPECT_TRUE(IsPlainName(std::string(128, 'x')));
    for (const std::string& bad :
         std::vector<std::string>{"", ".", "..", "a/b", "a\\b", "/etc", "a\nb", std::string("a\0b", 3),
                                  "a\x7f", std::string(129, 'x')})
        EXPECT_FALSE(IsPlainName(bad)) << bad;
}

TEST(Decimal, ReadsLikeAtoiAndSaturates)
{
    EXPECT_EQ(ParseDecimal(" 125"), 125);
    EXPECT_EQ(ParseDecimal("\t+7"), 7);
    EXPECT_EQ(ParseDecimal("-3x"), -3);
    EXPECT_EQ(ParseDecimal("abc"), 0);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseDecimal("-99999999999999999999"), -2147483647 - 1);
}
