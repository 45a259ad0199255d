#include "store/ListCodec.h"

#include <gtest/gtest.h>

using namespace ravelo;

TEST(ListCodec, PlainListsEndEachEntryWithASemicolon)
{
    EXPECT_EQ(ListCodec::JoinList({"a", "b"}), "a;b;");
    EXPECT_EQ(ListCodec::JoinList({}), "");
    EXPECT_EQ(ListCodec::SplitList("a;b;"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ListCodec::SplitList("a;b"), (std::vector<std::string>{"a", "b"})); // cut short
    EXPECT_TRUE(ListCodec::SplitList("").empty());
    // Empty entries keep their place, so numbered entries stay numbered.
    const std::vector<std::string> gappy{"", "http://b", ""};
    EXPECT_EQ(ListCodec::SplitList(ListCodec::JoinList(gappy)), gappy);
}

TEST(ListCodec, VolumeSetsUseSetAtAddressBarVolumeBackslash)
{
    DownloadInfo::VolumeSets sets;
    sets[0] = {{1, "http://h/a.001"}, {2, "http://h/a.002"}};
    sets[1] = {{1, "http://user@pan/x|y"}}; // "@" and "|" inside an address
    sets[2] = {};
    const std::string text = ListCodec::EncodeVolumeSets(sets);
    EXPECT_EQ(text, "0@http://h/a.001|1\\http://h/a.002|2\\;1@http://user@pan/x|y|1\\;2@;");
    EXPECT_EQ(ListCodec::DecodeVolumeSets(text), sets);

    // Junk pieces are skipped, bad numbers read as 0.
    const auto junk = ListCodec::DecodeVolumeSets("garbage;x@noaddress\\u|v\\;;");
    ASSERT_EQ(junk.size(), 1u);
    EXPECT_EQ(junk.at(0), (std::map<int, std::string>{{0, "u"}}));
}

TEST(ListCodec, LengthsFilesAndEmulatorConfigs)
{
    EXPECT_EQ(ListCodec::EncodeVolumeLengths({{1, "100"}, {2, "200"}}), "100;200;");
    EXPECT_EQ(ListCodec::DecodeVolumeLengths("100;200;"),
              (std::map<int, std::string>{{1, "100"}, {2, "200"}}));

    EXPECT_EQ(ListCodec::EncodeFileList({{"a.bin", "md5a"}, {"b/c.bin", ""}}), "a.bin|md5a;b/c.bin|;");
    EXPECT_EQ(ListCodec::DecodeFileList("a.bin|md5a;b/c.bin|;bad;x|y|z;"),
              (std::map<std::string, std::string>{{"a.bin", "md5a"}, {"b/c.bin", ""}}));

    const std::vector<EmulatorInfo::KeyConfigEntry> keys{{"k.cfg", "cfg/k.cfg", "default.cfg"},
                                                         {"p.cfg", "p", ""}};
    EXPECT_EQ(ListCodec::EncodeKeyConfig(keys), "k.cfg,cfg/k.cfg,default.cfg;p.cfg,p,;");
    EXPECT_EQ(ListCodec::DecodeKeyConfig(ListCodec::EncodeKeyConfig(keys)), keys);
    const std::vector<EmulatorInfo::SetConfigEntry> sets{{"s.ini", "s.ini"}};
    EXPECT_EQ(ListCodec::EncodeSetConfig(sets), "s.ini,s.ini;");
    EXPECT_EQ(ListCodec::DecodeSetConfig("s.ini,s.ini;lonely;"), sets);
}
