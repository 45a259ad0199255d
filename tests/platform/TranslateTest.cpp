#include "platform/Translate.h"

#include "support/LanguageScope.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

using namespace ravelo;

// Without a catalogue for the language, every text reads as its Chinese source, byte for byte; an
// empty text stays empty instead of fetching the catalogue's header.
TEST(Translate, TextsWithoutACatalogueReadAsTheirSource)
{
    ::setenv("LANGUAGE", "en", 1);
    std::setlocale(LC_ALL, "C.UTF-8");
    InitTranslations("/nonexistent/locale/");
    const char* source = "下载失败,创建文件失败:请检查下载路径是否正确";
    EXPECT_STREQ(Tr(source), source);
    EXPECT_STREQ(Tr(""), "");
    EXPECT_STREQ(Tr(nullptr), "");
    static_assert(TrNoop("提示")[0] != '\0');
    ::unsetenv("LANGUAGE");
}

// The English catalogue of the build tree answers whichever way the user asks for English: the
// setting, or the environment, even where the locale is C (glibc then ignores LANGUAGE) or names a
// locale this machine does not have. Numbers stay in the C format in every case.
TEST(Translate, EnglishWhicheverWayItIsAskedFor)
{
    const struct
    {
        const char* what;
        std::string setting;
        test::LanguageScope::Environment environment;
    } cases[] = {
        {"the setting, no environment", "en", {}},
        {"the setting over a Chinese environment", "en", {"zh_CN", "", "", "zh_CN.UTF-8"}},
        {"LANGUAGE under LANG=C", "", {"en", "", "", "C"}},
        {"LANGUAGE with no locale at all", "", {"en", "", "", ""}},
        {"a LANG this machine lacks", "", {"", "", "", "en_ZZ.UTF-8"}},
        {"an LC_ALL this machine lacks", "", {"", "en_ZZ.UTF-8", "", "zh_CN.UTF-8"}},
        {"LC_MESSAGES alone", "", {"", "", "en_ZZ.UTF-8", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::LanguageScope scope(c.setting, c.environment);
        EXPECT_STREQ(Tr("安装"), "Install");
        EXPECT_STREQ(Tr("正在下载分卷%d/%d,已下载%.2fM/%.2fM"), "Downloading part %d/%d, %.2fM/%.2fM done");
        EXPECT_STREQ(Tr("一段不在目录中的文字"), "一段不在目录中的文字");
        EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
        if (!c.setting.empty()) {
            EXPECT_STREQ(std::getenv("LANGUAGE"), c.setting.c_str()); // programs we start read it too
        }
    }
}

// Chinese stays the source text: asked for explicitly over an English environment, when nothing
// names a language at all, or when the setting holds something that is no language.
TEST(Translate, ChineseWhenAskedForOrWhenNothingIsSet)
{
    {
        test::LanguageScope scope("zh_CN", {"en", "", "", "C"});
        EXPECT_STREQ(Tr("安装"), "安装");
    }
    {
        test::LanguageScope scope("", {});
        EXPECT_STREQ(Tr("安装"), "安装");
        EXPECT_EQ(std::getenv("LANGUAGE"), nullptr);
    }
    // A setting that is no language name is ignored, and the environment decides.
    for (const char* bad : {"../../tmp/x", "en/../../y", "en us"}) {
        SCOPED_TRACE(bad);
        test::LanguageScope scope(bad, {});
        EXPECT_STREQ(Tr("安装"), "安装");
        EXPECT_EQ(std::getenv("LANGUAGE"), nullptr);
    }
}
