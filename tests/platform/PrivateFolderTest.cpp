#include "platform/PrivateFolder.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ravelo;
using ravelo::test::TempFolder;

namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat st
    {
    };
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

} // namespace

TEST(PrivateFolder, AMissingFolderIsMadeClosedToOthers)
{
    TempFolder tmp;
    const std::string folder = tmp / "a/RaveloAppStore-1000/";
    EXPECT_EQ(MakePrivateFolder(folder), PrivateFolderResult::Ready);
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_EQ(ModeOf(tmp / "a/RaveloAppStore-1000"), 0700u);
    // A second start finds it as it should be and keeps what is inside.
    std::ofstream(folder + "kept") << "x";
    EXPECT_EQ(MakePrivateFolder(folder), PrivateFolderResult::Ready);
    EXPECT_TRUE(FileExists(folder + "kept"));
}

TEST(PrivateFolder, OneOpenToOthersOrALinkIsMadeAnewAndEmpty)
{
    TempFolder tmp, elsewhere;
    const std::string open = tmp / "open";
    ASSERT_EQ(::mkdir(open.c_str(), 0777), 0);
    ::chmod(open.c_str(), 0777);
    std::ofstream(open + "/planted.sh") << "#!/bin/sh\n";
    EXPECT_EQ(MakePrivateFolder(open), PrivateFolderResult::Ready);
    EXPECT_EQ(ModeOf(open), 0700u);
    EXPECT_FALSE(FileExists(open + "/planted.sh"));

    // A link pointing somewhere else is replaced by a folder; what it pointed at is left alone.
    std::ofstream(elsewhere / "theirs") << "x";
    const std::string link = tmp / "link";
    ASSERT_EQ(::symlink(elsewhere.Path().c_str(), link.c_str()), 0);
    EXPECT_EQ(MakePrivateFolder(link + "/"), PrivateFolderResult::Ready);
    struct stat st
    {
    };
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_TRUE(FileExists(elsewhere / "theirs"));
}

TEST(PrivateFolder, AnotherUsersFolderIsRefusedAndLeftAlone)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a folder to another user";
    TempFolder tmp;
    const std::string theirs = tmp / "theirs";
    ASSERT_EQ(::mkdir(theirs.c_str(), 0700), 0);
    std::ofstream(theirs + "/file") << "x";
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
    std::string reason;
    EXPECT_EQ(MakePrivateFolder(theirs, &reason), PrivateFolderResult::Refused);
    EXPECT_NE(reason.find(theirs), std::string::npos) << reason;
    EXPECT_TRUE(FileExists(theirs + "/file"));
}
