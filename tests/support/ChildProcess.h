#pragma once

#include <chrono>
#include <csignal>
#include <future>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace ravelo::test {

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
    pid_t Pid() const { return m_pid; }

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

} // namespace ravelo::test
