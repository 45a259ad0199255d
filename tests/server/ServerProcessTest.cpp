// ravelo-server as a user runs it: build-demo, serve on a port it picks, one access-log line per
// request, and a clean exit on SIGTERM and SIGINT.
#include "server/ServerTestSupport.h"

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

/// A child process with its stdout on a pipe; killed if still running at the end.
class ChildProcess
{
public:
    explicit ChildProcess(const std::vector<std::string>& args)
    {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        std::vector<char*> argv;
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        m_out = pipeFds[0];
    }
    ~ChildProcess()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            ::close(m_out);
    }

    bool Started() const { return m_pid > 0; }

    /// The next line of stdout, waiting at most `timeout`; empty on time-out or end.
    std::string ReadLine(std::chrono::milliseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (m_buffer.find('\n') == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd fd{m_out, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
                return std::string();
            char block[4096];
            const ssize_t got = ::read(m_out, block, sizeof(block));
            if (got <= 0)
                return std::string();
            m_buffer.append(block, static_cast<std::size_t>(got));
        }
        const auto end = m_buffer.find('\n');
        const std::string line = m_buffer.substr(0, end);
        m_buffer.erase(0, end + 1);
        return line;
    }

    /// Sends a signal and waits (at most `timeout`) for the exit; the exit status, or -1.
    int StopWith(int signal, std::chrono::seconds timeout)
    {
        ::kill(m_pid, signal);
        const pid_t pid = m_pid;
        auto exit = std::async(std::launch::async, [pid] {
            int status = 0;
            ::waitpid(pid, &status, 0);
            return status;
        });
        if (exit.wait_for(timeout) != std::future_status::ready) {
            ::kill(m_pid, SIGKILL);
            exit.wait();
            m_pid = -1;
            return -1;
        }
        m_pid = -1;
        const int status = exit.get();
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    /// Waits for the process to end on its own; its exit code.
    int Wait()
    {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_buffer;
};

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
