#include "emulator/ConfigTextFile.h"
#include "emulator/ConfigTextFileTable.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace ravelo {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ConfigTextFile, ReadsNamesValuesCommentsAndLineEnds)
{
    ConfigTextMap map;
    ConfigTextFile::Parse("# header\r\n"
                          "  Speed\t  fast  and  loud  \r\n"
                          "\n\n"
                          "Lonely\n"
                          "Speed slow # not a comment\n"
                          "   # indented comment\n"
                          "Last value",
                          map);
    EXPECT_EQ(map.at("!version"), "1");
    EXPECT_EQ(map.at("Speed"), "slow # not a comment");
    EXPECT_EQ(map.at("Lonely"), "");
    EXPECT_EQ(map.at("Last"), "value");
    EXPECT_EQ(map.size(), 4u);

    // A file that names its own version keeps it.
    ConfigTextMap versioned;
    ConfigTextFile::Parse("!version 3\n", versioned);
    EXPECT_EQ(versioned.at("!version"), "3");
    EXPECT_EQ(versioned.size(), 1u);
}

TEST(ConfigTextFile, CommentsOnlyFileGainsVersionAndEmptyLine)
{
    test::TempFolder folder;
    const std::string path = folder / "emu.cfg";
    test::WriteText(path, "# only\n# comments\n");
    ConfigTextMap map;
    ASSERT_TRUE(ConfigTextFile::Read(path, map));
    ASSERT_TRUE(ConfigTextFile::Write(path, map));
    EXPECT_EQ(test::ReadText(path), " \n!version 1\n");
}

TEST(ConfigTextFile, WritesInByteOrderAndFailsWithoutFolder)
{
    test::TempFolder folder;
    ConfigTextMap map{{"b", "2"}, {"B", "1"}, {"\xC3\xA9", "e"}, {"a", "x y"}};
    ASSERT_TRUE(ConfigTextFile::Write(folder / "out.cfg", map));
    EXPECT_EQ(test::ReadText(folder / "out.cfg"), "B 1\na x y\nb 2\n\xC3\xA9 e\n");
    EXPECT_FALSE(ConfigTextFile::Write(folder / "missing/out.cfg", map));
    ConfigTextMap untouched{{"k", "v"}};
    EXPECT_FALSE(ConfigTextFile::Read(folder / "missing.cfg", untouched));
    EXPECT_EQ(untouched.size(), 1u);
}

TEST(ConfigTextFileTable, DecodesHexBase64AndDecimal)
{
    Bytes four{1, 2, 3, 4};
    ASSERT_TRUE(ConfigTextFileTable::DecodeValue("0x0A0B", four));
    EXPECT_EQ(four, (Bytes{0x0A, 0x0B, 3, 4}));
    ASSERT_TRUE(ConfigTextFileTable::DecodeValue("0Xfe0a0b0c0d", four)); // cut at four bytes
    EXPECT_EQ(four, (Bytes{0xFE, 0x0A, 0x0B, 0x0C}));
    ASSERT_TRUE(ConfigTextFileTable::DecodeValue("0x123", four)); // one whole pair only
    EXPECT_EQ(four, (Bytes{0x12, 0x0A, 0x0B, 0x0C}));
    EXPECT_FALSE(ConfigTextFileTable::DecodeValue("0xZZ", four));
    EXPECT_EQ(four, (Bytes{0x12, 0x0A, 0x0B, 0x0C}));

    ASSERT_TRUE(ConfigTextFileTable::DecodeValue("-2", four));
    EXPECT_EQ(four, (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    Bytes one{0};
    ASSERT_TRUE(ConfigTextFileTable::DecodeValue("257", one)); // truncated to 8 bits
    EXPECT_EQ(one, Bytes{1});
    EXPECT_FALSE(ConfigTextFileTable::DecodeValue("fast", one));
    EXPECT_EQ(one, Bytes{1});

    Bytes block(6, 0xAA);
    ASSERT_TRUE(ConfigTextFileTable::DecodeValue("base64:AQID", block)); // shorter than the block
    EXPECT_EQ(block, (Bytes{1, 2, 3, 0xAA, 0xAA, 0xAA}));
    EXPECT_FALSE(ConfigTextFileTable::DecodeValue("base64:AQ*D", block));
    EXPECT_FALSE(ConfigTextFileTable::DecodeValue("12", block)); // decimal only for 1, 2 and 4 bytes
    EXPECT_EQ(block, (Bytes{1, 2, 3, 0xAA, 0xAA, 0xAA}));
}

TEST(ConfigTextFileTable, EncodesEachSizeAndRoundTripsBlocks)
{
    EXPECT_EQ(ConfigTextFileTable::EncodeValue(Bytes{0xFF}), "255");
    EXPECT_EQ(ConfigTextFileTable::EncodeValue(Bytes{0xFF, 0xFF}), "65535");
    EXPECT_EQ(ConfigTextFileTable::EncodeValue(Bytes{0xFE, 0xFF, 0xFF, 0xFF}), "-2");
    EXPECT_EQ(ConfigTextFileTable::EncodeValue(Bytes{'M'}), "77");
    EXPECT_EQ(ConfigTextFileTable::EncodeValue(Bytes{'M', 'a', 'n'}), "base64:TWFu");
    EXPECT_EQ(ConfigTextFileTable::EncodeValue(Bytes{'M', 'a', 'n', 'y', 0}), "base64:TWFueQA=");
    EXPECT_EQ(ConfigTextFileTable::EncodeValue(Bytes{'M', 'a', 'n', 'y', 0, 0, 0}), "base64:TWFueQAAAA==");

    Bytes block(3360);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>(i * 7 + 3);
    Bytes back(3360);
    ASSERT_TRUE(ConfigTextFileTable::DecodeValue(ConfigTextFileTable::EncodeValue(block), back));
    EXPECT_EQ(back, block);
}

TEST(ConfigTextFileTable, DecodesKnownNamesAndKeepsTheRestOfTheFile)
{
    ConfigTextFileTable table;
    table.Add("Title", 0);
    table.Add("Volume", 2);
    table.Add("Block", 5);
    table.Add("Absent", 1);
    *table.Storage("Absent") = Bytes{9};

    ConfigTextMap map;
    ConfigTextFile::Parse("Title My  Game\nVolume 0x3412\nBlock not-a-value\nOther keep me\n", map);
    EXPECT_EQ(table.Decode(map), 1); // the block's value is reported and skipped
    EXPECT_EQ(*table.Text("Title"), "My  Game");
    EXPECT_EQ(*table.Storage("Volume"), (Bytes{0x34, 0x12})); // pairs in byte order
    EXPECT_EQ(*table.Storage("Block"), Bytes(5, 0));

    table.Encode(map);
    EXPECT_EQ(ConfigTextFile::Format(map), "!version 1\n"
                                           "Absent 9\n"
                                           "Block base64:AAAAAAA=\n"
                                           "Other keep me\n"
                                           "Title My  Game\n"
                                           "Volume 4660\n");
}

} // namespace
} // namespace ravelo
