// The swap of a portable install's program files: all or nothing, the user's files untouched, and a
// swap cut short by a crash rolled back by the next run.
#include "updater/ProgramSwap.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace ravelo {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempFolder;

/// Writes a file, making its folders first.
void WriteText(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    test::WriteText(path, text);
}

/// Every file below a folder with its contents, by path relative to the folder.
std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] = ReadText(entry.path().string());
    return files;
}

bool IsRunnable(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IXUSR);
}

class ProgramSwapTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // The old version, and what the user made of it.
        WriteText(m_install / "ravelo", "old program");
        WriteText(m_install / "ravelo-cli", "old cli");
        WriteText(m_install / "LocalGameRes/gamelist/arcade_ch.ini", "old names");
        WriteText(m_install / "only-in-old.txt", "kept");
        WriteText(m_install / "portable.txt", "");
        WriteText(m_install / "ravelo.cfg", "[Set]\nRomPath=/games/\n");
        WriteText(m_install / "database/ravelo.db", "SQLite format 3, the user's library");
        WriteText(m_install / "Emulator/FC/Demo/UserGamePadCfg/keys.ini", "the user's keys");
        ::chmod((m_install / "ravelo").c_str(), 0755);

        // The new version.
        WriteText(m_package / "ravelo", "new program");
        WriteText(m_package / "ravelo-cli", "new cli");
        WriteText(m_package / "ravelo-update", "new updater");
        WriteText(m_package / "LocalGameRes/gamelist/arcade_ch.ini", "new names");
        WriteText(m_package / "LocalGameRes/icon/arcade.zip", "new icons");
        ::chmod((m_package / "ravelo").c_str(), 0755);
        ::chmod((m_package / "ravelo-update").c_str(), 0755);
    }

    std::map<std::string, std::string> UsersFiles()
    {
        std::map<std::string, std::string> files;
        for (const char* name :
             {"ravelo.cfg", "database/ravelo.db", "Emulator/FC/Demo/UserGamePadCfg/keys.ini", "portable.txt",
              "only-in-old.txt"})
            files[name] = ReadText(m_install / name);
        return files;
    }

    TempFolder m_install;
    TempFolder m_package;
};

TEST_F(ProgramSwapTest, ReplacesEveryProgramFileAndKeepsEverythingElse)
{
    const auto before = UsersFiles();
    ProgramSwap swap(m_install.Path(), m_package.Path());
    ASSERT_TRUE(swap.Run()) << swap.Error();
    EXPECT_EQ(ReadText(m_install / "ravelo"), "new program");
    EXPECT_EQ(ReadText(m_install / "ravelo-cli"), "new cli");
    EXPECT_EQ(ReadText(m_install / "ravelo-update"), "new updater");
    EXPECT_EQ(ReadText(m_install / "LocalGameRes/gamelist/arcade_ch.ini"), "new names");
    EXPECT_EQ(ReadText(m_install / "LocalGameRes/icon/arcade.zip"), "new icons");
    EXPECT_TRUE(IsRunnable(m_install / "ravelo"));
    EXPECT_TRUE(IsRunnable(m_install / "ravelo-update"));
    EXPECT_FALSE(IsRunnable(m_install / "ravelo-cli"));
    EXPECT_EQ(UsersFiles(), before);
    EXPECT_EQ(swap.Replaced().size(), 5u);
    EXPECT_FALSE(fs::exists(m_install / ProgramSwap::kWorkFolder)); // nothing left behind
}

TEST_F(ProgramSwapTest, APackageNeverWritesTheUsersOwnFiles)
{
    WriteText(m_package / "ravelo.cfg", "[Set]\nRomPath=/elsewhere/\n");
    WriteText(m_package / "database/ravelo.db", "an empty library");
    WriteText(m_package / "Emulator/FC/Demo/UserGamePadCfg/keys.ini", "default keys");
    WriteText(m_package / "portable.txt", "");
    const auto before = UsersFiles();
    ProgramSwap swap(m_install.Path(), m_package.Path());
    ASSERT_TRUE(swap.Run()) << swap.Error();
    EXPECT_EQ(UsersFiles(), before);
    EXPECT_EQ(ReadText(m_install / "ravelo"), "new program");
    EXPECT_EQ(swap.Skipped().size(), 4u);
    EXPECT_TRUE(ProgramSwap::IsUserOwned("database/ravelo.db"));
    EXPECT_TRUE(ProgramSwap::IsUserOwned(".ravelo-update/journal"));
    EXPECT_FALSE(ProgramSwap::IsUserOwned("LocalGameRes/icon/arcade.zip"));
    EXPECT_FALSE(ProgramSwap::IsUserOwned("databases"));
}

TEST_F(ProgramSwapTest, AFailureInTheMiddleOfTheSwapPutsTheOldVersionBack)
{
    const auto before = Snapshot(m_install.Path());
    ProgramSwap swap(m_install.Path(), m_package.Path());
    int swapped = 0;
    // Files go in sorted order: the fourth, "ravelo-cli", fails after three were swapped.
    swap.SetBeforeReplace([&](const std::string&) { return ++swapped < 4; });
    EXPECT_FALSE(swap.Run());
    EXPECT_NE(swap.Error().find("ravelo-cli"), std::string::npos) << swap.Error();
    EXPECT_EQ(Snapshot(m_install.Path()), before); // the new icon archive is gone again, too
    EXPECT_TRUE(IsRunnable(m_install / "ravelo"));
    EXPECT_FALSE(fs::exists(m_install / "LocalGameRes/icon/arcade.zip"));
    EXPECT_TRUE(swap.Replaced().empty());
}

TEST_F(ProgramSwapTest, AMissingOrEmptyPackageChangesNothing)
{
    const auto before = Snapshot(m_install.Path());
    TempFolder empty;
    ProgramSwap nothing(m_install.Path(), empty.Path());
    EXPECT_FALSE(nothing.Run());
    ProgramSwap missing(m_install.Path(), m_package / "no-such-folder");
    EXPECT_FALSE(missing.Run());
    EXPECT_EQ(Snapshot(m_install.Path()), before);
}

TEST_F(ProgramSwapTest, ASwapCutShortByACrashIsRolledBackByTheNextRun)
{
    const auto before = Snapshot(m_install.Path());
    {
        // A crash after two files were swapped: the hook ends the process's work there, and the
        // rollback a live swap would do is what a crash never gets to; the journal stays.
        ProgramSwap crashed(m_install.Path(), m_package.Path());
        int swapped = 0;
        crashed.SetBeforeReplace([&](const std::string&) {
            if (++swapped == 3)
                throw std::runtime_error("power lost");
            return true;
        });
        EXPECT_THROW(crashed.Run(), std::runtime_error);
    }
    ASSERT_TRUE(fs::exists(m_install / (std::string(ProgramSwap::kWorkFolder) + "/journal")));
    EXPECT_EQ(ReadText(m_install / "LocalGameRes/gamelist/arcade_ch.ini"), "new names"); // half swapped

    ProgramSwap recovery(m_install.Path(), m_package.Path());
    ASSERT_TRUE(recovery.Recover()) << recovery.Error();
    EXPECT_EQ(Snapshot(m_install.Path()), before);
    EXPECT_FALSE(fs::exists(m_install / ProgramSwap::kWorkFolder));

    // And a later update goes through whole.
    ProgramSwap again(m_install.Path(), m_package.Path());
    ASSERT_TRUE(again.Run()) << again.Error();
    EXPECT_EQ(ReadText(m_install / "ravelo"), "new program");
}

TEST_F(ProgramSwapTest, AJournalNamingPathsOutsideTheInstallIsRefused)
{
    WriteText(m_install / ".ravelo-update/journal", "ravelo-update journal 1\n../../etc/passwd\n");
    ProgramSwap swap(m_install.Path(), m_package.Path());
    EXPECT_FALSE(swap.Recover());
    EXPECT_FALSE(swap.Run());
    EXPECT_EQ(ReadText(m_install / "ravelo"), "old program");
}

TEST_F(ProgramSwapTest, AFolderOfTheOldVersionWhereTheNewHasAFileIsSwappedToo)
{
    fs::create_directories(m_install / "locale/zh_CN");
    WriteText(m_install / "locale/zh_CN/old.mo", "old catalogue");
    WriteText(m_package / "locale", "a file now");
    ProgramSwap swap(m_install.Path(), m_package.Path());
    ASSERT_TRUE(swap.Run()) << swap.Error();
    EXPECT_EQ(ReadText(m_install / "locale"), "a file now");
}

} // namespace
} // namespace ravelo
