#include "store/CppSQLite3DB.h"
#include "store/LibraryDatabase.h"
#include "support/TempFolder.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace ravelo;

namespace {

// A running store_kill_child whose stdout the test reads line by line.
class Child
{
public:
    Child(const std::string& database, const std::string& tag)
    {
        int pipeEnds[2];
        if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        std::vector<std::string> args{STORE_KILL_CHILD, database, tag};
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        m_read = pipeEnds[0];
    }
    ~Child()
    {
        if (m_read >= 0)
            ::close(m_read);
    }

    bool Started() const { return m_pid > 0 && m_read >= 0; }

    /// Reads until `count` complete lines arrived in all, or the output ended.
    void ReadLines(std::size_t count)
    {
        char buffer[4096];
        while (m_lines.size() < count) {
            const ssize_t got = ::read(m_read, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return;
            for (ssize_t i = 0; i < got; ++i) {
                if (buffer[i] == '\n')
                    m_lines.push_back(std::exchange(m_partial, std::string()));
                else
                    m_partial += buffer[i];
            }
        }
    }

    /// SIGKILL, then everything the child had written before it died; the child's wait status.
    int KillAndDrain()
    {
        ::kill(m_pid, SIGKILL);
        ReadLines(SIZE_MAX);
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        return status;
    }

    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    pid_t m_pid = -1;
    int m_read = -1;
    std::string m_partial; // a line cut by the kill: its post may not have returned
    std::vector<std::string> m_lines;
};

} // namespace

TEST(LibraryDurability, EveryReturnedWaitingPostSurvivesAKill)
{
    test::TempFolder folder;
    const std::string database = folder / "database/ravelo.db";
    std::mt19937 random(std::random_device{}());
    std::vector<std::string> printed;

    const auto started = std::chrono::steady_clock::now();
    for (int run = 0; run < 60; ++run) {
        Child child(database, "run" + std::to_string(run));
        ASSERT_TRUE(child.Started());
        // Some runs die while opening or migrating, the rest somewhere in a stream of commits.
        child.ReadLines(std::uniform_int_distribution<std::size_t>(0, 40)(random));
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 2000)(random)));
        const int status = child.KillAndDrain();
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the child ended on its own: " << status;
        printed.insert(printed.end(), child.Lines().begin(), child.Lines().end());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    ASSERT_GT(printed.size(), 200u); // the runs got well into their streams

    CppSQLite3DB raw;
    raw.open(database);
    EXPECT_EQ(raw.execQuery("PRAGMA integrity_check;").fieldString(0), "ok");
    std::set<std::string> stored;
    for (auto q = raw.execQuery("select FilePath from LocalGame;"); !q.eof(); q.nextRow())
        stored.insert(q.fieldString(0));
    for (const auto& path : printed)
        EXPECT_TRUE(stored.count(path)) << path << " was reported stored but is missing";
    raw.close();

    // The library itself reopens the file after all those kills.
    LibraryDatabase db(database);
    ASSERT_TRUE(db.IsReady()) << db.OpenError();
    std::vector<LocalGame> games;
    ASSERT_TRUE(db.PostWait(DbOperation::LoadLocalGames, &games));
    EXPECT_EQ(games.size(), stored.size());
}
