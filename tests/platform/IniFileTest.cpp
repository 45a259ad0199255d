#include "platform/IniFile.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace ravelo;
using ravelo::test::ReadText;
using ravelo::test::TempFolder;
using ravelo::test::WriteText;

TEST(IniFile, MissingFileSectionOrKeyYieldsTheFallback)
{
    TempFolder temp;
    const std::string file = temp / "a.cfg";
    EXPECT_EQ(ReadProfileString(file, "Set", "RomPath", "dflt"), "dflt");
    WriteText(file, "[Other]\nRomPath=x\n");
    EXPECT_EQ(ReadProfileString(file, "Set", "RomPath", "dflt"), "dflt");
    EXPECT_EQ(ReadProfileString(file, "Other", "Missing", ""), "");
}

TEST(IniFile, NamesCompareWithoutCaseAndValuesAreTrimmed)
{
    TempFolder temp;
    const std::string file = temp / "a.cfg";
    WriteText(file, "; comment\r\n[SET]\r\n  romPATH =  /games/ \r\nQuoted=\"  spaced  \"\r\n");
    EXPECT_EQ(ReadProfileString(file, "set", "RomPath", ""), "/games/");
    EXPECT_EQ(ReadProfileString(file, "Set", "quoted", ""), "  spaced  ");
}

TEST(IniFile, WriteKeepsOtherSectionsKeysCommentsAndLineEndings)
{
    TempFolder temp;
    const std::string file = temp / "a.cfg";
    WriteText(file, "; keep me\r\n[Set]\r\nRomPath=/old/\r\nExtra=1\r\n\r\n[User]\r\nUid=42\r\n");
    ASSERT_TRUE(WriteProfileString(file, "set", "ROMPATH", "/new/"));
    ASSERT_TRUE(WriteProfileString(file, "Set", "IsTray", "0"));
    ASSERT_TRUE(WriteProfileString(file, "Service", "BaseUrl", "http://127.0.0.1:1"));
    EXPECT_EQ(ReadText(file), "; keep me\r\n[Set]\r\nROMPATH=/new/\r\nExtra=1\r\nIsTray=0\r\n\r\n"
                              "[User]\r\nUid=42\r\n[Service]\r\nBaseUrl=http://127.0.0.1:1\r\n");
}

TEST(IniFile, WritingCreatesTheFile)
{
    TempFolder temp;
    const std::string file = temp / "new.cfg";
    ASSERT_TRUE(WriteProfileString(file, "User", "Uid", "7"));
    EXPECT_EQ(ReadText(file), "[User]\nUid=7\n");
}

TEST(IniFile, LongValuesAreCutOnReading)
{
    TempFolder temp;
    const std::string file = temp / "a.cfg";
    const std::string longValue(1500, 'x');
    ASSERT_TRUE(WriteProfileString(file, "Set", "RomPath", longValue));
    EXPECT_EQ(ReadProfileString(file, "Set", "RomPath", "").size(), kMaxProfileValueChars);
    std::string han;
    for (int i = 0; i < 1100; ++i)
        han += "游";
    ASSERT_TRUE(WriteProfileString(file, "Set", "Name", han));
    EXPECT_EQ(ReadProfileString(file, "Set", "Name", ""), han.substr(0, 1023 * 3));
}

TEST(IniFile, LineBreaksCannotInjectKeysOrSections)
{
    TempFolder temp;
    const std::string file = temp / "a.cfg";
    ASSERT_TRUE(WriteProfileString(file, "Set", "RomPath", "/games/"));
    const std::string before = ReadText(file);
    EXPECT_FALSE(WriteProfileString(file, "Set", "RomPath", "/x/\nIsTray=0"));
    EXPECT_FALSE(WriteProfileString(file, "Set", "RomPath", "/x/\r[User]"));
    EXPECT_FALSE(WriteProfileString(file, "Set", "Rom\nPath", "v"));
    EXPECT_FALSE(WriteProfileString(file, "Se]t", "RomPath", "v"));
    EXPECT_FALSE(WriteProfileString(file, "Set", "a=b", "v"));
    EXPECT_EQ(ReadText(file), before);
    EXPECT_EQ(ReadProfileString(file, "Set", "IsTray", "1"), "1");
}

TEST(IniFile, ConcurrentWritersLoseNoKey)
{
    TempFolder temp;
    const std::string file = temp / "a.cfg";
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&, t] {
            for (int i = 0; i < 25; ++i)
                WriteProfileString(file, "S" + std::to_string(t), "K" + std::to_string(i), std::to_string(i));
        });
    for (auto& w : writers)
        w.join();
    for (int t = 0; t < 4; ++t)
        for (int i = 0; i < 25; ++i)
            ASSERT_EQ(ReadProfileString(file, "S" + std::to_string(t), "K" + std::to_string(i), "?"),
                      std::to_string(i));
}
