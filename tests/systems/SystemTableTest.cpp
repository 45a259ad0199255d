#include "systems/SystemTable.h"

#include <gtest/gtest.h>

namespace ravelo {
namespace {

TEST(SystemTable, MapsNumbersAndCodesBothWaysAndRefusesTheNameOnlyEntries)
{
    EXPECT_EQ(SystemNumberToCode(125), "FC");
    EXPECT_EQ(SystemNumberToCode(146), "MAMEPLUS");
    EXPECT_EQ(SystemNumberToCode(0), "全部机种");
    EXPECT_EQ(SystemNumberToCode(128), "ANDROID");
    EXPECT_EQ(SystemNumberToCode(132), "");
    EXPECT_EQ(SystemNumberToCode(-1), "");

    for (int number :
         {119, 120, 121, 122, 123, 124, 125, 126, 127, 129, 130, 131, 133, 138, 140, 142, 146, 148})
        EXPECT_EQ(SystemCodeToNumber(SystemNumberToCode(number)), std::to_string(number)) << number;
    EXPECT_EQ(SystemCodeToNumber("ANDROID"), "");
    EXPECT_EQ(SystemCodeToNumber("全部机种"), "");
    EXPECT_EQ(SystemCodeToNumber("fc"), "");
    EXPECT_EQ(SystemCodeToNumber("ONS"), "");

    EXPECT_TRUE(IsNativeSystem(138));
    EXPECT_TRUE(IsNativeSystem("138"));
    EXPECT_FALSE(IsNativeSystem(" 138"));
    EXPECT_FALSE(IsNativeSystem(125));

    ASSERT_EQ(EmulatorListKeys().size(), 17u);
    EXPECT_EQ(EmulatorListKeys().front(), "fc");
    EXPECT_EQ(EmulatorListKeys().back(), "mameplus");
}

} // namespace
} // namespace ravelo
