// The self-update check's decisions: the version rule, what an answer means, the question's texts,
// and the pacing of progress reports.
#include "platform/Md5.h"
#include "update/ProgressThrottle.h"
#include "update/SelfUpdateHandOff.h"
#include "update/UpdateAnswer.h"
#include "update/UpdateVersion.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace ravelo {
namespace {

TEST(UpdateVersion, ComponentsCompareAsIntegersInOrder)
{
    EXPECT_TRUE(IsNewerVersion("0.0.18", "0.0.19"));
    EXPECT_FALSE(IsNewerVersion("0.0.18", "0.0.18"));
    EXPECT_FALSE(IsNewerVersion("0.0.18", "0.0.9")); // 9 < 18, although "9" sorts after "18"
    EXPECT_TRUE(IsNewerVersion("0.0.18", "0.1.0"));
    EXPECT_FALSE(IsNewerVersion("0.1.0", "0.0.5"));
    EXPECT_TRUE(IsNewerVersion("1.9.9", "2.0.0"));
    EXPECT_FALSE(IsNewerVersion("2.0.0", "1.99.99"));
    EXPECT_TRUE(IsNewerVersion("0.0.18", "000.000.019")); // leading zeros read as the number
}

TEST(UpdateVersion, OnlyTheWholePatternCountsAndTheFirstSeparatorIsAnyCharacter)
{
    const std::optional<VersionNumber> loose = ParseVersion("1x2.3");
    ASSERT_TRUE(loose);
    EXPECT_EQ(loose->major, 1);
    EXPECT_EQ(loose->minor, 2);
    EXPECT_EQ(loose->patch, 3);
    EXPECT_TRUE(IsNewerVersion("0.0.18", "1x2.3"));

    for (const char* text :
         {"1.2", "1.2.3-beta", "v1.2.3", "1.2.3.4", " 1.2.3", "1.2x3", "", "1..2.3", "a.b.c", "1.2.３"}) {
        EXPECT_FALSE(ParseVersion(text)) << text;
        EXPECT_FALSE(IsNewerVersion("0.0.1", text)) << text;
    }
    // A local version that does not read as one makes nothing newer either.
    EXPECT_FALSE(IsNewerVersion("dev", "9.9.9"));
}

TEST(UpdateVersion, NumbersThatOverflowOrHugeTextsAreNotNewer)
{
    EXPECT_TRUE(ParseVersion("2147483647.0.0"));
    EXPECT_FALSE(ParseVersion("2147483648.0.0"));
    EXPECT_FALSE(IsNewerVersion("0.0.18", "0.0.99999999999999999999"));
    EXPECT_FALSE(IsNewerVersion("0.0.18", "1.2." + std::string(100000, '9'))); // bounded before matching
}

TEST(UpdateAnswer, WhatTheAnswerMeans)
{
    EXPECT_EQ(DecideUpdate(false, R"({"version":"9.9.9"})", "0.0.18").kind, UpdateAnswerKind::Failed);
    EXPECT_EQ(DecideUpdate(true, "", "0.0.18").kind, UpdateAnswerKind::Failed);

    for (const char* body :
         {"not json", "[1,2]", "\"0.0.19\"", "{}", R"({"version":19})", R"({"version":"0.0.18"})",
          R"({"version":"0.0.9"})", R"({"version":"1.2"})", R"({"version":["0.0.19"]})"})
        EXPECT_EQ(DecideUpdate(true, body, "0.0.18").kind, UpdateAnswerKind::UpToDate) << body;

    const UpdateAnswer newer = DecideUpdate(
        true,
        R"({"version":"0.0.19","downloadurl":"http://h/Update.zip","description":"第一行\n第二行",)"
        R"("sha256":"ABCDEF0123456789abcdef0123456789ABCDEF0123456789abcdef0123456789"})",
        "0.0.18");
    ASSERT_EQ(newer.kind, UpdateAnswerKind::Newer);
    EXPECT_EQ(newer.version, "0.0.19");
    EXPECT_EQ(newer.downloadUrl, "http://h/Update.zip");
    EXPECT_EQ(newer.sha256, "abcdef0123456789abcdef0123456789abcdef0123456789abcdef0123456789");
    EXPECT_EQ(UpdateQuestionCaption(newer), "提示:检测到新版本0.0.19是否更新");
    // The notes are shown unchanged below the heading and one empty line.
    EXPECT_EQ(UpdateQuestionText(newer), "更新说明:\n\n第一行\n第二行");

    // Without a checksum nothing is demanded; one that cannot be one is never matched.
    EXPECT_EQ(DecideUpdate(true, R"({"version":"0.0.19"})", "0.0.18").sha256, "");
    EXPECT_EQ(DecideUpdate(true, R"({"version":"0.0.19","sha256":"xyz"})", "0.0.18").sha256, "invalid");
}

TEST(UpdateAnswer, ReleaseNotesAreCappedAtWholeCharacters)
{
    std::string notes;
    for (int i = 0; i < 3000; ++i)
        notes += "更";
    const UpdateAnswer answer =
        DecideUpdate(true, R"({"version":"0.0.19","description":")" + notes + R"("})", "0.0.18");
    EXPECT_EQ(answer.description, std::string(notes, 0, kMaxReleaseNotes * 3) + "…");

    EXPECT_EQ(CapText("abc", 3), "abc");
    EXPECT_EQ(CapText("abcd", 3), "abc…");
    EXPECT_EQ(CapText("a更b", 2), "a更…");
    EXPECT_EQ(CapText("", 0), "");
    // A cut sequence at the end is kept as it is, never split further.
    EXPECT_EQ(CapText("ab\xE6\x9B", 5), "ab\xE6\x9B");
}

TEST(UpdateAnswer, OnlyWebAddressesGoToTheBrowser)
{
    EXPECT_TRUE(IsBrowserAddress("http://example.org/ravelo"));
    EXPECT_TRUE(IsBrowserAddress("https://example.org/"));
    for (const char* url : {"", "file:///etc/passwd", "javascript:alert(1)", "ftp://host/x", "http://",
                            "https:///path", "http://host/a b", "HTTP:host", "/download/Update.zip"})
        EXPECT_FALSE(IsBrowserAddress(url)) << url;
}

TEST(ProgressThrottle, LetsOneReportThroughPerIntervalAndAlwaysTheLast)
{
    using namespace std::chrono_literals;
    ProgressThrottle throttle(50ms);
    const auto start = ProgressThrottle::Clock::now();
    int passed = 0;
    for (int ms = 0; ms < 500; ++ms)
        passed += throttle.Admit(start + std::chrono::milliseconds(ms)) ? 1 : 0;
    EXPECT_EQ(passed, 10); // 0, 50, 100, ... 450
    EXPECT_FALSE(throttle.Admit(start + 460ms));
    EXPECT_TRUE(throttle.Admit(start + 461ms, true));
}

TEST(PackageChecksum, Sha256OfAFile)
{
    test::TempFolder folder;
    test::WriteText(folder / "abc", "abc");
    EXPECT_EQ(FileSha256Hex(folder / "abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_FALSE(FileSha256Hex(folder / "missing"));
}

TEST(SelfUpdateHandOff, PortableMeansAMarkerInAWritableFolder)
{
    test::TempFolder folder;
    EXPECT_FALSE(IsPortableInstall(folder.Path()));
    test::WriteText(folder / "portable.txt", "");
    EXPECT_TRUE(IsPortableInstall(folder.Path()));
    EXPECT_FALSE(IsPortableInstall(""));

    const SelfUpdateHandOff handOff{"/opt/ravelo/", "ravelo", 4242};
    EXPECT_EQ(UpdaterArguments(handOff),
              (std::vector<std::string>{"--install", "/opt/ravelo/", "--wait", "4242", "--start", "ravelo"}));
    const SelfUpdateHandOff current = CurrentProgramHandOff();
    EXPECT_EQ(current.waitPid, static_cast<long>(::getpid()));
    EXPECT_FALSE(current.program.empty());
    EXPECT_EQ(current.installFolder.back(), '/');
}

} // namespace
} // namespace ravelo
