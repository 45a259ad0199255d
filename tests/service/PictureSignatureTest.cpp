// The default check on a downloaded picture: the signatures of the formats the windows show.
#include "service/PictureSignature.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace ravelo;
using namespace std::string_literals;

TEST(PictureSignature, KnowsEachFormatTheWindowsShow)
{
    EXPECT_TRUE(HasPictureSignature("\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s));
    EXPECT_TRUE(HasPictureSignature("\xFF\xD8\xFF\xE0\0\x10JFIF"s));
    EXPECT_TRUE(HasPictureSignature("GIF87a\x01\0\x01\0"s));
    EXPECT_TRUE(HasPictureSignature("GIF89a\x01\0\x01\0"s));
    EXPECT_TRUE(HasPictureSignature("BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0"s));
    EXPECT_TRUE(HasPictureSignature("\0\0\1\0\1\0\x10\x10"s));
    EXPECT_TRUE(HasPictureSignature("RIFF\x24\0\0\0WEBPVP8 "s));
}

TEST(PictureSignature, RefusesAnswersThatAreNotPictures)
{
    for (const std::string& head : {
             ""s,
             "<html><body>404</body></html>"s,
             "{\"status\":0}"s,
             "\x89PNG\r\n"s, // cut short
             "\x89PNG\r\n\x1A\r"s,
             "\xFF\xD8"s,
             "GIF88a"s,
             "BM"s,
             "BMW owners' club news, page 2"s,            // a text that happens to start so
             "BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x29\0\0\0"s, // no info header of that size
             "\0\0\1\0\0\0"s,                             // an icon directory of no images
             "\0\0\2\0\1\0"s,                             // a cursor
             "RIFF\x24\0\0\0WAVEfmt "s,
             "RIFF\x24\0\0\0WEB"s,
         }) {
        EXPECT_FALSE(HasPictureSignature(head)) << testing::PrintToString(head);
    }
}

TEST(PictureSignature, ReadsTheStartOfAFile)
{
    ravelo::test::TempFolder folder;
    ravelo::test::WriteText(folder / "a.png", "\x89PNG\r\n\x1A\n" + std::string(4096, 'x'));
    ravelo::test::WriteText(folder / "b.png", "<html>");
    ravelo::test::WriteText(folder / "empty.png", "");
    EXPECT_TRUE(IsPictureFile(folder / "a.png"));
    EXPECT_FALSE(IsPictureFile(folder / "b.png"));
    EXPECT_FALSE(IsPictureFile(folder / "empty.png"));
    EXPECT_FALSE(IsPictureFile(folder / "missing.png"));
    EXPECT_FALSE(IsPictureFile(folder.Path())); // a folder reads as nothing
}
