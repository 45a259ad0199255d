#include "service/HttpTransport.h"
#include "platform/FileSystem.h"
#include "service/CookieJarClient.h"
#include "support/FileText.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace ravelo;
using ravelo::test::LoopbackHttpServer;
using ravelo::test::ReadText;
using ravelo::test::TempFolder;

namespace {

class HttpTransport : public testing::Test
{
protected:
    void SetUp() override
    {
        // /hop/N answers 302 to /hop/N-1; /hop/0 is the file.
        server.Get(R"(/hop/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
            const int left = std::stoi(req.matches[1]);
            if (left == 0)
                res.set_content("final body", "application/octet-stream");
            else
                res.set_redirect(server.Url("/hop/" + std::to_string(left - 1)));
        });
        server.Get("/relative", [](const httplib::Request&, httplib::Response& res) {
            res.status = 301;
            res.set_header("Location", "/hop/0");
        });
        server.Get("/nowhere", [](const httplib::Request&, httplib::Response& res) { res.status = 302; });
        server.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("not here", "text/plain");
        });
        server.Get("/ftp", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("ftp://127.0.0.1/file");
        });
        server.Post("/api", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content("echo:" + req.body, "application/json");
        });
        server.Post("/moved", [this](const httplib::Request&, httplib::Response& res) {
            res.set_redirect(server.Url("/api"));
        });
        server.Post("/broken", [](const httplib::Request&, httplib::Response& res) {
            res.status = 500;
            res.set_content("{\"status\":0}", "application/json");
        });
        server.Post("/huge", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(kMaxAnswerBytes + 1, 'x'), "text/plain");
        });
        server.Post("/justfits", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(kMaxAnswerBytes, 'y'), "text/plain");
        });
        server.Start();
    }

    LoopbackHttpServer server;
};

} // namespace

TEST_F(HttpTransport, PostSendsTheBodyAsGivenAndReturnsTheAnswer)
{
    std::string answer;
    TransferError error;
    ASSERT_EQ(HttpPost(answer, server.Url("/api"), "", "model=appstore&action=pc_index&clientparams= | |zh",
                       10, &error),
              1);
    EXPECT_FALSE(error.Failed());
    EXPECT_EQ(answer, "echo:model=appstore&action=pc_index&clientparams= | |zh");

    answer.clear();
    ASSERT_EQ(HttpPost(answer, server.Url("/api"), "X-Probe: 1", "", 10), 1);
    EXPECT_EQ(answer, "echo:");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].method, "POST"); // an empty body is still a POST, with no body
    EXPECT_EQ(requests[1].Header("Content-Length"), "0");
    EXPECT_EQ(requests[1].Header("X-Probe"), "1");
    EXPECT_EQ(requests[0].Header("X-Probe"), "");
}

TEST_F(HttpTransport, PostFailsOnRedirectsErrorStatusesAndOversizedAnswers)
{
    std::string answer;
    TransferError error;
    EXPECT_EQ(HttpPost(answer, server.Url("/moved"), "", "a=1", 10, &error), 0);
    EXPECT_EQ(error.httpStatus, 302);
    EXPECT_EQ(server.Requests().size(), 1u); // not followed

    EXPECT_EQ(HttpPost(answer, server.Url("/broken"), "", "a=1", 10, &error), 0);
    EXPECT_EQ(error.Describe(), "服务器返回错误 (HTTP 500)");

    answer.clear();
    EXPECT_EQ(HttpPost(answer, server.Url("/huge"), "", "", 10, &error), 0);
    EXPECT_TRUE(error.tooLarge);
    EXPECT_EQ(error.Describe(), "服务器应答过大");
    EXPECT_LE(answer.size(), kMaxAnswerBytes);

    answer.clear();
    EXPECT_EQ(HttpPost(answer, server.Url("/justfits"), "", "", 10, &error), 1);
    EXPECT_EQ(answer.size(), kMaxAnswerBytes);

    LoopbackHttpServer closed; // bound, then stopped: nobody listens on the port any more
    closed.Start();
    const std::string gone = closed.Url("/api");
    closed.Stop();
    EXPECT_EQ(HttpPost(answer, gone, "", "a=1", 10, &error), 0);
    EXPECT_EQ(error.Describe(), "无法连接服务器");
}

TEST_F(HttpTransport, ProbesWalkAtMostTenRedirects)
{
    std::string finalUrl;
    double length = 0;
    ASSERT_EQ(ResolveFinalUrl(server.Url("/hop/3"), finalUrl, length), 1);
    EXPECT_EQ(finalUrl, server.Url("/hop/0"));
    EXPECT_EQ(length, 10.0); // "final body"
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 4u); // one header-only request per hop
    for (const auto& request : requests)
        EXPECT_EQ(request.method, "HEAD");

    EXPECT_EQ(CheckUrl(server.Url("/hop/10")), 1);
    EXPECT_EQ(CheckUrl(server.Url("/hop/11")), 0);
    finalUrl = "unchanged";
    EXPECT_EQ(ResolveFinalUrl(server.Url("/hop/11"), finalUrl, length), 0);
    EXPECT_EQ(finalUrl, "unchanged");

    EXPECT_EQ(ResolveFinalUrl(server.Url("/relative"), finalUrl, length), 1);
    EXPECT_EQ(finalUrl, server.Url("/hop/0"));
    EXPECT_EQ(ResolveFinalUrl(server.Url("/nowhere"), finalUrl, length), 0); // empty redirect target
    EXPECT_EQ(CheckUrl(server.Url("/missing")), 0);
    EXPECT_EQ(CheckUrl(server.Url("/ftp")), 0); // only http and https are walked
}

TEST_F(HttpTransport, ContentLengthOfAnAnswerOrMinusOne)
{
    EXPECT_EQ(GetContentLength(server.Url("/hop/0")), 10.0);
    EXPECT_EQ(GetContentLength(server.Url("/missing")), -1.0);
    EXPECT_EQ(GetContentLength(server.Url("/hop/1")), -1.0); // redirects are not followed here
}

TEST_F(HttpTransport, AFailedProbeSaysWhatTheLastAnswerWas)
{
    std::string finalUrl;
    double length = 0;
    TransferError error;
    EXPECT_EQ(ResolveFinalUrl(server.Url("/hop/1"), finalUrl, length, &error), 1);
    EXPECT_FALSE(error.Failed());
    EXPECT_EQ(ResolveFinalUrl(server.Url("/missing"), finalUrl, length, &error), 0);
    EXPECT_EQ(error.httpStatus, 404);
    EXPECT_EQ(error.curlCode, 0);
    EXPECT_EQ(ResolveFinalUrl(server.Url("/hop/11"), finalUrl, length, &error), 0);
    EXPECT_EQ(error.curlCode, 47); // CURLE_TOO_MANY_REDIRECTS
    EXPECT_EQ(ResolveFinalUrl(server.Url("/nowhere"), finalUrl, length, &error), 0);
    EXPECT_EQ(error.httpStatus, 302); // a redirect without a target

    EXPECT_EQ(GetContentLength(server.Url("/missing"), &error), -1.0);
    EXPECT_EQ(error.httpStatus, 404);
    LoopbackHttpServer closed;
    closed.Start();
    const std::string url = closed.Url("/hop/0");
    closed.Stop();
    EXPECT_EQ(GetContentLength(url, &error), -1.0);
    EXPECT_EQ(error.curlCode, 7); // CURLE_COULDNT_CONNECT
    EXPECT_EQ(error.httpStatus, 0);
}

TEST_F(HttpTransport, DownloadFileReplacesTheTargetOnlyWithACompleteAnswer)
{
    TempFolder folder;
    const std::string path = folder / "cache/image/a/b.png";
    ASSERT_EQ(DownloadFile(server.Url("/hop/0"), path), 1);
    EXPECT_EQ(ReadText(path), "final body");

    EXPECT_EQ(DownloadFile(server.Url("/missing"), path), 0);
    EXPECT_EQ(ReadText(path), "final body"); // the 404 page did not replace the picture
    EXPECT_EQ(DownloadFile(server.Url("/missing"), folder / "cache/other.png"), 0);
    EXPECT_FALSE(FileExists(folder / "cache/other.png"));
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u); // no temporary left behind
}

namespace {

class CookieJar : public testing::Test
{
protected:
    void SetUp() override
    {
        server.Get("/share", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Set-Cookie", "BAIDUID=first; Path=/");
            res.set_content("页面 FileUtils.uk=\"1\"", "text/html");
        });
        server.Get("/again", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Set-Cookie", "BAIDUID=second; Path=/");
            res.set_header("Set-Cookie", "STOKEN=s1; Path=/; HttpOnly");
            res.set_content("ok", "text/plain");
        });
        server.Get("/image", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Set-Cookie", "PANPSC=p; Path=/");
            res.set_content(std::string("\x89PNG\0", 5), "image/png");
        });
        server.Get("/latin1", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("\xe9t\xe9", "text/html");
        });
        server.Get("/dlink", [this](const httplib::Request&, httplib::Response& res) {
            res.set_redirect(server.Url("/file"));
        });
        server.Get("/file",
                   [](const httplib::Request&, httplib::Response& res) { res.set_content("data", "a/b"); });
        server.Start();
    }
    LoopbackHttpServer server;
};

} // namespace

TEST_F(CookieJar, KeepsTheFirstValueOfEachCookieAndSendsThemAll)
{
    CookieJarClient client;
    std::string text = "stale";
    ASSERT_EQ(client.GetText(server.Url("/share"), "http://pan.test/s/1", text), 1);
    EXPECT_EQ(text, "页面 FileUtils.uk=\"1\"");
    ASSERT_EQ(client.GetText(server.Url("/again"), "", text), 1);
    EXPECT_EQ(client.CookieHeader(), "BAIDUID=first;STOKEN=s1;");

    TempFolder folder;
    ASSERT_EQ(client.GetFile(server.Url("/image"), "", folder / "code.jpg"), 1);
    EXPECT_EQ(ReadText(folder / "code.jpg"), std::string("\x89PNG\0", 5));
    EXPECT_EQ(client.CookieHeader(), "BAIDUID=first;PANPSC=p;STOKEN=s1;");

    std::string finalUrl;
    ASSERT_EQ(client.FollowRedirects(server.Url("/dlink"), "http://pan.test/", finalUrl), 1);
    EXPECT_EQ(finalUrl, server.Url("/file"));

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[0].Header("Referer"), "http://pan.test/s/1");
    EXPECT_EQ(requests[0].Header("Cookie"), "");
    EXPECT_NE(requests[0].Header("User-Agent").find("Android 4.4.2"), std::string::npos);
    EXPECT_EQ(requests[1].Header("Cookie"), "BAIDUID=first;");
    EXPECT_EQ(requests[1].Header("Referer"), "");
    EXPECT_EQ(requests[3].method, "HEAD");
    EXPECT_EQ(requests[4].Header("Cookie"), "BAIDUID=first;PANPSC=p;STOKEN=s1;");
    EXPECT_EQ(requests[4].Header("Referer"), "http://pan.test/");

    EXPECT_EQ(client.GetText(server.Url("/latin1"), "", text), 0); // not UTF-8
    EXPECT_EQ(client.GetFile(server.Url("/image"), "", folder / "no/such/folder/x.jpg"), 0);
}
