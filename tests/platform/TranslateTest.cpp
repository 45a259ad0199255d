#include "platform/Translate.h"

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
