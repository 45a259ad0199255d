#include "platform/FileSystem.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace ravelo;
using ravelo::test::TempFolder;

TEST(FileSystem, FolderChainSkipsTheTrailingFileName)
{
    TempFolder temp;
    EXPECT_TRUE(CreateFolderChain(temp / "a/b/file.txt"));
    EXPECT_TRUE(FolderExists(temp / "a/b"));
    EXPECT_FALSE(std::filesystem::exists(temp / "a/b/file.txt"));

    EXPECT_TRUE(CreateFolderChain(temp / "x/y/z/"));
    EXPECT_TRUE(FolderExists(temp / "x/y/z"));
    EXPECT_TRUE(CreateFolderChain(temp / "x/y/z/")); // existing folders are fine
}

TEST(FileSystem, FolderChainIgnoresFailures)
{
    TempFolder temp;
    test::WriteText(temp / "blocker", "a file where a folder should go");
    EXPECT_TRUE(CreateFolderChain(temp / "blocker/inner/"));
    EXPECT_FALSE(FolderExists(temp / "blocker/inner"));
}

TEST(FileSystem, AtomicWriteReplacesWholeFileAndLeavesNoTemporaries)
{
    TempFolder temp;
    const std::string file = temp / "data.txt";
    ASSERT_TRUE(WriteFileAtomically(file, "first"));
    ASSERT_TRUE(WriteFileAtomically(file, "second version"));
    EXPECT_EQ(test::ReadText(file), "second version");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1);
    EXPECT_FALSE(WriteFileAtomically(temp / "missing-folder/data.txt", "x"));
}
