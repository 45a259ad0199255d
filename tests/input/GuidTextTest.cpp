#include "input/ControllerGuidText.h"

#include <gtest/gtest.h>

#include <limits>

namespace ravelo {
namespace {

ControllerRecord RecordWith(std::array<std::uint8_t, 16> bytes)
{
    ControllerRecord record;
    record.instanceGuid = bytes;
    return record;
}

TEST(ControllerGuidTextTest, ReadsTheBytesAsAGuidInMemory)
{
    // The first three fields are little-endian; the last eight bytes are written in order.
    const ControllerList pads = {
        RecordWith(
            {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}),
        RecordWith({0x0a, 0, 0, 0, 0x0b, 0, 0x0c, 0, 0xff, 0xfe, 0, 0, 0, 0, 0, 0x01}),
    };
    EXPECT_EQ(ControllerGuidText(pads, 0), "12345678-9ABC-DEF0-0123-456789ABCDEF");
    EXPECT_EQ(ControllerGuidText(pads, 1), "0000000A-000B-000C-FFFE-000000000001");
}

TEST(ControllerGuidTextTest, AnIndexOutsideTheListGivesTheZeroText)
{
    const std::string zero = "00000000-0000-0000-0000-000000000000";
    EXPECT_EQ(ControllerGuidText({}, 0), zero);
    EXPECT_EQ(ControllerGuidText({}, 1), zero);
    const ControllerList one = {RecordWith({1})};
    EXPECT_NE(ControllerGuidText(one, 0), zero);
    EXPECT_EQ(ControllerGuidText(one, 1), zero);
    EXPECT_EQ(ControllerGuidText(one, std::numeric_limits<std::size_t>::max()), zero);
}

} // namespace
} // namespace ravelo
