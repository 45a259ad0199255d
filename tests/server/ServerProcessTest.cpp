// ravelo-server as a user runs it: build-demo, serve on a port it picks, one access-log line per
// request, and a clean exit on SIGTERM and SIGINT.
#include "server/ServerTestSupport.h"

#include "support/ChildProcess.h"
#include "support/FileText.h"

#include <chrono>
#include <csignal>
#include <future>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ravelo::test {
namespace {

int PortFrom(const std::string& line)
{
    const std::string prefix = "listening on 127.0.0.1:";
    if (line.rfind(prefix, 0) != 0)
        return 0;
    return std::stoi(line.substr(prefix.size()));
}

TEST(ServerProcessTest, BuildsServesLogsAndStopsCleanly)
{
    TempFolder folder;
    const std::string root = folder / "catalogue";
    {
        ChildProcess build({RAVELO_SERVER_EXE, "build-demo", root});
        ASSERT_TRUE(build.Started());
        EXPECT_EQ(0, build.Wait());
    }
    {
        ChildProcess again({RAVELO_SERVER_EXE, "build-demo", root});
        EXPECT_NE(0, again.Wait()) << "an existing catalogue is kept unless --force";
    }

    const std::string log = folder / "access.log";
    ChildProcess serve(
        {RAVELO_SERVER_EXE, "serve", "--root", root, "--port", "0", "--access-log", log, "--log-bodies"});
    ASSERT_TRUE(serve.Started());
    const std::string line = serve.ReadLine(std::chrono::seconds(10));
    const int port = PortFrom(line);
    ASSERT_GT(port, 0) << line;

    httplib::Client client("127.0.0.1", port);
    const std::string body = ClientBodies::GameList(1, 5, 0, 2);
    const auto list = client.Post("/clientapi/", body, "application/x-www-form-urlencoded");
    ASSERT_TRUE(list);
    EXPECT_EQ(200, list->status);
    const auto head = client.Head("/download/games/1001/1001.zip");
    ASSERT_TRUE(head);
    const auto binary = client.Post("/clientapi/", std::string("a\nb\x01", 4), "application/octet-stream");
    ASSERT_TRUE(binary);
    EXPECT_EQ(400, binary->status);
    client.stop();

    EXPECT_EQ(0, serve.StopWith(SIGTERM, std::chrono::seconds(10)));

    const std::string text = ReadText(log);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const auto end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    ASSERT_EQ(3u, lines.size()) << text;
    // Each request came on a connection of its own, so the lines may come in any order.
    auto lineWith = [&lines](const std::string& part) {
        for (const auto& line : lines) {
            if (line.find(part) != std::string::npos)
                return line;
        }
        return std::string();
    };
    const std::string listLine = lineWith(" 127.0.0.1 POST /clientapi/ 200 ");
    EXPECT_NE(std::string::npos, listLine.find(body))
        << "the URL-encoded body is logged as it came: " << text;
    EXPECT_FALSE(lineWith(" HEAD /download/games/1001/1001.zip 200 0").empty()) << text;
    EXPECT_FALSE(lineWith(" POST /clientapi/ 400 ").empty()) << text;
    EXPECT_NE(std::string::npos, lineWith(" 400 ").find("a\\x0ab\\x01")) << "binary bodies stay on one line";

    ChildProcess second({RAVELO_SERVER_EXE, "serve", "--root", root, "--port", "0"});
    ASSERT_GT(PortFrom(second.ReadLine(std::chrono::seconds(10))), 0);
    EXPECT_EQ(0, second.StopWith(SIGINT, std::chrono::seconds(10)));
}

TEST(ServerProcessTest, RefusesToServeWithoutACatalogue)
{
    TempFolder folder;
    ChildProcess serve({RAVELO_SERVER_EXE, "serve", "--root", folder.Path(), "--port", "0"});
    ASSERT_TRUE(serve.Started());
    EXPECT_EQ(1, serve.Wait());
    ChildProcess usage({RAVELO_SERVER_EXE, "serve", "--port", "abc"});
    EXPECT_EQ(1, usage.Wait());
}

} // namespace
} // namespace ravelo::test
