// Picture addresses from the catalogue become cache files and fetch addresses: nothing may leave the
// cache folder, and only http(s) is fetched.
#include "service/PictureCachePath.h"

#include <gtest/gtest.h>
#include <vector>

using namespace ravelo;

namespace {

const std::string kCache = "/cache/image/";
const std::string kHost = "http://127.0.0.1:8650";

} // namespace

TEST(PictureCachePath, RelativeAndAbsoluteAddressesLandUnderTheCacheFolder)
{
    EXPECT_EQ(PictureCachePath(kCache, "/pic/icon/1001.png"), "/cache/image/pic/icon/1001.png");
    EXPECT_EQ(PictureCachePath(kCache, "\\pic\\icon\\1001.png"), "/cache/image/pic/icon/1001.png");
    EXPECT_EQ(PictureCachePath(kCache, "pic/1.png"), "/cache/image/pic/1.png");
    // Doubled separators are one; a leading pair is not a host for a relative address.
    EXPECT_EQ(PictureCachePath(kCache, "//a//b.png"), "/cache/image/a/b.png");
    EXPECT_EQ(PictureCachePath(kCache, "/a\\/\\b.png"), "/cache/image/a/b.png");
    // The host of an absolute address and every query or fragment are not part of the file.
    EXPECT_EQ(PictureCachePath(kCache, "http://cdn.example:81/pic/s/1.jpg?v=3"), "/cache/image/pic/s/1.jpg");
    EXPECT_EQ(PictureCachePath(kCache, "HTTPS://cdn.example/pic/2.webp#top"), "/cache/image/pic/2.webp");
    EXPECT_EQ(PictureCachePath(kCache, "/pic/3.png?x=/../../etc"), "/cache/image/pic/3.png");
    // Names that only look odd are plain names on disk.
    EXPECT_EQ(PictureCachePath(kCache, "/pic/%2e%2e/..png"), "/cache/image/pic/%2e%2e/..png");
    EXPECT_EQ(PictureCachePath(kCache, "/pic/a:b.png"), "/cache/image/pic/a:b.png");
    const std::string longest(128, 'n');
    EXPECT_EQ(PictureCachePath(kCache, "/" + longest), kCache + longest);
}

TEST(PictureCachePath, AddressesThatCannotBeMadeSafeGiveNoPath)
{
    for (const std::string& address : std::vector<std::string>{
             "/../x",
             "\\..\\x",
             "/a/./b",
             "/a/../../b.png",
             "..",
             "/pic/..",
             "http://host/../x",
             "http://host\\..\\x",
             std::string("/") + std::string(129, 'n') + "/x.png",
             "/pic/a\x01.png",
             "/pic/a\nb.png",
             "/pic/a\x7F.png",
             std::string("/pic/a\0b.png", 12),
             // Nothing named, or a folder rather than a file.
             "",
             "/",
             "//",
             "?x=1",
             "/pic/",
             "/pic\\",
             "http://host",
             "http://host/",
             "http://host?x",
             // Other schemes and malformed absolute addresses.
             "ftp://host/a.png",
             "file:///etc/passwd",
             "C:\\pic\\a.png",
             "data:image/png;base64,AAAA",
             "javascript:x",
             "http:/host/a.png",
             "http:///a.png",
         }) {
        EXPECT_EQ(PictureCachePath(kCache, address), "") << address;
    }
}

TEST(PictureFetchUrl, RelativeFromTheHostAbsoluteAsItIsOtherSchemesNever)
{
    EXPECT_EQ(PictureFetchUrl(kHost, "/pic/icon/1.png"), kHost + "/pic/icon/1.png");
    EXPECT_EQ(PictureFetchUrl(kHost, "/pic/1.png?v=2"), kHost + "/pic/1.png?v=2");
    // Without the '/', the address could name another host through the authority.
    EXPECT_EQ(PictureFetchUrl(kHost, "@evil.example/x.png"), kHost + "/@evil.example/x.png");
    EXPECT_EQ(PictureFetchUrl(kHost, "//evil.example/x.png"), kHost + "//evil.example/x.png");
    EXPECT_EQ(PictureFetchUrl(kHost, "http://127.0.0.1:9/a.png?q=1"), "http://127.0.0.1:9/a.png?q=1");
    EXPECT_EQ(PictureFetchUrl(kHost, "HTTPS://127.0.0.1/a.png"), "HTTPS://127.0.0.1/a.png");
    for (const std::string address : {"ftp://host/a.png", "file:///etc/passwd", "gopher://h/", "C:\\a.png",
                                      "/pic/a.png?x\r\nHost: evil", "http://"}) {
        EXPECT_EQ(PictureFetchUrl(kHost, address), "") << address;
    }
}
