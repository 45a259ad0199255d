#include "download/CZip.h"

#include "support/FileText.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"

#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace ravelo;
using ravelo::test::ReadText;
using ravelo::test::TempFolder;
using ravelo::test::WriteText;
using ravelo::test::ZipBuilder;
namespace fs = std::filesystem;

TEST(CZip, ExtractsNestedFoldersFolderEntriesAndEmptyFilesWithTimeStamps)
{
    TempFolder temp;
    const std::string archive = temp / "game.zip";
    {
        ZipBuilder zip(archive);
        ASSERT_TRUE(zip.Add("1001/data/level1.bin", "LEVEL-ONE"));
        ASSERT_TRUE(zip.Add("1001\\saves\\", "")); // folder entry with Windows separators
        ASSERT_TRUE(zip.Add("1001/empty.cfg", "", false, 0, 2019, 3, 4));
        ASSERT_TRUE(zip.Add("1001/1001.nes", std::string(300000, 'N')));
    }
    CZip unzip;
    std::int64_t lastTotal = -1;
    unzip.SetExtractProgressFun([&](std::int64_t, std::int64_t total) { lastTotal = total; });
    const std::string destination = temp / "out"; // no trailing separator on purpose
    ASSERT_EQ(unzip.ZipExtract(archive, destination), 1) << unzip.LastError();

    EXPECT_EQ(ReadText(temp / "out/1001/data/level1.bin"), "LEVEL-ONE");
    EXPECT_TRUE(fs::is_directory(temp / "out/1001/saves"));
    EXPECT_EQ(fs::file_size(temp / "out/1001/empty.cfg"), 0u);
    EXPECT_EQ(fs::file_size(temp / "out/1001/1001.nes"), 300000u);
    EXPECT_EQ(unzip.TotalBytes(), 9 + 300000);
    EXPECT_EQ(unzip.ExtractedBytes(), 9 + 300000);
    EXPECT_TRUE(lastTotal == -1 || lastTotal == unzip.TotalBytes());

    struct stat st
    {
    };
    ASSERT_EQ(::stat((temp / "out/1001/empty.cfg").c_str(), &st), 0);
    std::tm local{};
    ::localtime_r(&st.st_mtime, &local);
    EXPECT_EQ(local.tm_year + 1900, 2019);
    EXPECT_EQ(local.tm_mon + 1, 3);
    EXPECT_EQ(local.tm_mday, 4);
    EXPECT_EQ(local.tm_hour, 12);
}

TEST(CZip, ProgramsStayRunnableButArchivesCannotGrantMore)
{
    TempFolder temp;
    const std::string archive = temp / "emu.zip";
    {
        ZipBuilder zip(archive);
        ASSERT_TRUE(zip.Add("emu/run", "#!/bin/sh\n", false, S_IFREG | 0755));
        ASSERT_TRUE(zip.Add("emu/setuid", "x", false, S_IFREG | S_ISUID | 0777));
        ASSERT_TRUE(zip.Add("emu/keys.cfg", "k", false, S_IFREG | 0666));
        ASSERT_TRUE(zip.Add("emu/dos.txt", "d")); // made on DOS: no Unix mode at all
    }
    fs::create_directories(temp / "out/emu");
    WriteText(temp / "out/emu/keys.cfg", "old"); // an existing file gets the entry's mode too
    ::chmod((temp / "out/emu/keys.cfg").c_str(), 0777);
    CZip unzip;
    ASSERT_EQ(unzip.ZipExtract(archive, temp / "out"), 1) << unzip.LastError();
    const auto mode = [&](const std::string& name) {
        struct stat st
        {
        };
        EXPECT_EQ(::stat((temp / "out/emu/" + name).c_str(), &st), 0) << name;
        return st.st_mode & 07777;
    };
    EXPECT_EQ(mode("run"), 0755u);
    EXPECT_EQ(mode("setuid"), 0755u);
    EXPECT_EQ(mode("keys.cfg"), 0644u);
    EXPECT_EQ(mode("dos.txt"), 0644u);
}

TEST(CZip, DecodesFlaggedUtf8AndUnflaggedChineseNames)
{
    TempFolder temp;
    const std::string archive = temp / "names.zip";
    {
        ZipBuilder zip(archive);
        ASSERT_TRUE(zip.Add("魂斗罗/说明.txt", "utf8", true));
        ASSERT_TRUE(zip.Add("\xC8\xFD\xB9\xFA.txt", "gbk")); // "三国" in the Chinese Windows code page
    }
    CZip unzip;
    ASSERT_EQ(unzip.ZipExtract(archive, temp / "out/"), 1) << unzip.LastError();
    EXPECT_EQ(ReadText(temp / "out/魂斗罗/说明.txt"), "utf8");
    EXPECT_EQ(ReadText(temp / "out/三国.txt"), "gbk");
}

TEST(CZip, HostileEntriesNeverLeaveTheDestination)
{
    for (const std::string name :
         {"../evil.txt", "a/../../evil.txt", "/tmp/evil.txt", "C:\\evil.txt", "..\\evil.txt"}) {
        TempFolder temp;
        const std::string archive = temp / "bad.zip";
        {
            ZipBuilder zip(archive);
            ASSERT_TRUE(zip.Add("ok.txt", "fine"));
            ASSERT_TRUE(zip.Add(name, "escaped"));
        }
        fs::create_directory(temp / "out");
        CZip unzip;
        EXPECT_EQ(unzip.ZipExtract(archive, temp / "out/"), 0) << name;
        EXPECT_FALSE(fs::exists(temp / "evil.txt")) << name;
        EXPECT_FALSE(fs::exists("/tmp/evil.txt"));
        EXPECT_NE(unzip.LastError().find("outside"), std::string::npos);
    }
}

TEST(CZip, LinksAreNotFollowedOrCreated)
{
    TempFolder temp;
    const std::string archive = temp / "links.zip";
    {
        ZipBuilder zip(archive);
        ASSERT_TRUE(zip.AddSymlink("link", temp.Path()));
        ASSERT_TRUE(zip.Add("link/planted.txt", "through the link"));
    }
    CZip unzip;
    EXPECT_EQ(unzip.ZipExtract(archive, temp / "out/"), 1);
    EXPECT_FALSE(fs::is_symlink(temp / "out/link"));
    EXPECT_FALSE(fs::exists(temp / "planted.txt"));
    EXPECT_EQ(ReadText(temp / "out/link/planted.txt"), "through the link");
}

TEST(CZip, TruncatedOrDamagedArchivesFail)
{
    TempFolder temp;
    const std::string archive = temp / "good.zip";
    std::string payload;
    for (int i = 0; i < 20000; ++i)
        payload += std::to_string(i * 7919 % 10007);
    {
        ZipBuilder zip(archive);
        ASSERT_TRUE(zip.Add("game.bin", payload));
    }
    const std::string bytes = ReadText(archive);

    test::WriteText(temp / "truncated.zip", bytes.substr(0, bytes.size() / 2));
    CZip first;
    EXPECT_EQ(first.ZipExtract(temp / "truncated.zip", temp / "a/"), 0);

    std::string damaged = bytes;
    damaged[60] = static_cast<char>(damaged[60] ^ 0x55); // inside the deflated data
    test::WriteText(temp / "damaged.zip", damaged);
    fs::create_directories(temp / "b");
    test::WriteText(temp / "b/game.bin", "the copy that was there");
    CZip second;
    EXPECT_EQ(second.ZipExtract(temp / "damaged.zip", temp / "b/"), 0);
    EXPECT_FALSE(second.LastError().empty());
    // A damaged entry never replaces the file that was there, and leaves no partial file behind.
    EXPECT_EQ(ReadText(temp / "b/game.bin"), "the copy that was there");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp / "b"), fs::directory_iterator()), 1);

    CZip third;
    EXPECT_EQ(third.ZipExtract(temp / "missing.zip", temp / "c/"), 0);
}

TEST(CZip, AnEntryNamedLikeTheArchiveIsUnpackedWholeBesideIt)
{
    // An arcade game's archive 1081.zip holding the set 1081.zip, unpacked where it lies.
    TempFolder temp;
    std::string set;
    for (int i = 0; i < 50000; ++i)
        set += std::to_string(i * 104729LL % 1000003);
    const std::string archive = temp / "1081.zip";
    {
        ZipBuilder zip(archive);
        ASSERT_TRUE(zip.Add("1081.zip", set));
        ASSERT_TRUE(zip.Add("readme.txt", "after the set"));
    }
    CZip unzip;
    ASSERT_EQ(unzip.ZipExtract(archive, temp.Path()), 1) << unzip.LastError();
    const std::string unpacked = ReadText(archive);
    EXPECT_TRUE(unpacked == set) << unpacked.size() << " bytes instead of " << set.size(); // no 300 KB diff
    EXPECT_EQ(ReadText(temp / "readme.txt"), "after the set");
}

TEST(CZip, PauseHoldsWithoutLosingDataAndStopEndsAPausedExtraction)
{
    TempFolder temp;
    const std::string archive = temp / "big.zip";
    std::string payload(4 << 20, '\0');
    for (std::size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<char>((i * 131) >> 7);
    {
        ZipBuilder zip(archive);
        ASSERT_TRUE(zip.Add("big.bin", payload));
    }

    CZip paused;
    paused.Pause(1);
    auto result = std::async(std::launch::async, [&] { return paused.ZipExtract(archive, temp / "p/"); });
    EXPECT_EQ(result.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    EXPECT_EQ(paused.ExtractedBytes(), 0);
    paused.Pause(0);
    ASSERT_EQ(result.get(), 1);
    EXPECT_EQ(ReadText(temp / "p/big.bin"), payload);

    CZip stopped;
    stopped.Pause(1);
    auto stopResult =
        std::async(std::launch::async, [&] { return stopped.ZipExtract(archive, temp / "s/"); });
    stopped.Exit();
    ASSERT_EQ(stopResult.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(stopResult.get(), 0);
    EXPECT_TRUE(stopped.WasStopped());
}
