#include "platform/TextConvert.h"

#include <gtest/gtest.h>

using namespace ravelo;

TEST(TextConvert, RoundTripsChineseAndAstralText)
{
    const std::string text = "魂斗罗 Contra \xF0\x9F\x8E\xAE"; // includes a surrogate pair in UTF-16
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide.substr(0, 3), u"魂斗罗");
    EXPECT_EQ(wide.size(), 3u + 8u + 2u);
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(AnsiToUtf8(text), text);
    EXPECT_EQ(Utf8ToOem(text), text);
}

TEST(TextConvert, MalformedInputRaisesTheHelpersMessage)
{
    const auto message = [](auto&& call) {
        try {
            call();
        } catch (const TextConversionError& e) {
            return std::string(e.what());
        }
        return std::string("no exception");
    };
    EXPECT_EQ(message([] { Utf8ToUtf16("ab\xC3"); }), "Invalid UTF-8 sequence.");       // cut short
    EXPECT_EQ(message([] { Utf8ToUtf16("\xC0\xAF"); }), "Invalid UTF-8 sequence.");     // overlong '/'
    EXPECT_EQ(message([] { Utf8ToUtf16("\xED\xA0\x80"); }), "Invalid UTF-8 sequence."); // surrogate
    EXPECT_EQ(message([] { AnsiToUtf16("\xFF"); }), "Acsi2WideByte fail");
    EXPECT_EQ(message([] { Utf16ToUtf8(std::u16string(1, char16_t(0xD800))); }), "Unicode2Utf8 fail");
    EXPECT_EQ(message([] { Utf16ToOem(std::u16string(1, char16_t(0xDC00))); }), "Error in conversion.");
    EXPECT_EQ(message([] { AnsiToUtf8("\x80"); }), "La falla!");
}

TEST(TextConvert, TruncateNeverSplitsACharacter)
{
    EXPECT_EQ(TruncateUtf8("魂斗罗", 2), "魂斗");
    EXPECT_EQ(TruncateUtf8("abc", 3), "abc");
    EXPECT_EQ(TruncateUtf8("abc", 0), "");
    EXPECT_TRUE(IsValidUtf8(TruncateUtf8("a魂b", 2)));
}
