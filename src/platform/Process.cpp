#include "platform/Process.h"

#include "platform/StartThread.h"
#include "platform/Translate.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace ravelo {
namespace {

int OpenPidHandle(pid_t pid)
{
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

int ExitCodeOf(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 0;
}

bool HasEnded(int pidfd, int timeoutMs)
{
    pollfd fd{pidfd, POLLIN, 0};
    int ready;
    do
        ready = ::poll(&fd, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

} // namespace

Process::Process(Process&& other) noexcept
    : m_pid(other.m_pid), m_pidfd(other.m_pidfd), m_exitCode(other.m_exitCode)
{
    other.m_pid = 0;
    other.m_pidfd = -1;
}

Process& Process::operator=(Process&& other) noexcept
{
    if (this != &other) {
        CloseHandle();
        m_pid = other.m_pid;
        m_pidfd = other.m_pidfd;
        m_exitCode = other.m_exitCode;
        other.m_pid = 0;
        other.m_pidfd = -1;
    }
    return *this;
}

Process::~Process()
{
    CloseHandle();
}

void Process::CloseHandle()
{
    if (m_pid > 0 && !m_exitCode) {
        int status = 0;
        ::waitpid(m_pid, &status, WNOHANG);
    }
    if (m_pidfd >= 0)
        ::close(m_pidfd);
    m_pidfd = -1;
}

bool Process::Start(const ProcessStart& start, std::string* error)
{
    CloseHandle();
    m_pid = 0;
    m_exitCode.reset();

    std::string program = start.program;
    if (!program.empty() && program.front() != '/' && !start.workingFolder.empty())
        program = start.workingFolder + (start.workingFolder.back() == '/' ? "" : "/") + program;

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : start.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!start.workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, start.workingFolder.c_str());

    // Its own process group, so that a stop reaches everything the program started; and a clean
    // signal state, because the caller may block SIGINT for a signal-waiting thread.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGINT, SIGTERM, SIGQUIT, SIGHUP, SIGPIPE, SIGCHLD})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    const int result = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        if (error)
            *error = Tr("无法启动程序 ") + program + ": " + std::strerror(result);
        return false;
    }
    m_pid = pid;
    m_pidfd = OpenPidHandle(pid);
    return true;
}

void Process::Reap(int status)
{
    m_exitCode = ExitCodeOf(status);
}

int Process::Wait()
{
    if (m_pid <= 0)
        return 0;
    if (m_exitCode)
        return *m_exitCode;
    int status = 0;
    pid_t done;
    do
        done = ::waitpid(m_pid, &status, 0);
    while (done < 0 && errno == EINTR);
    Reap(done == m_pid ? status : 0);
    return *m_exitCode;
}

std::optional<int> Process::WaitFor(std::chrono::milliseconds timeout)
{
    if (m_pid <= 0)
        return 0;
    if (m_exitCode)
        return m_exitCode;
    if (m_pidfd >= 0 && !HasEnded(m_pidfd, static_cast<int>(timeout.count())))
        return std::nullopt;
    if (m_pidfd < 0) {
        // No process handle (an old kernel): look, and sleep the slice once if it still runs.
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            Reap(status);
            return m_exitCode;
        }
        std::this_thread::sleep_for(timeout);
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
            return std::nullopt;
        Reap(status);
        return m_exitCode;
    }
    return Wait();
}

void Process::Terminate(std::chrono::milliseconds grace)
{
    // Only the handle is looked at: the waiting thread owns the exit code. A program that ended
    // may have left its group id to someone else, so nothing is sent then.
    if (m_pid <= 0 || m_pidfd < 0 || HasEnded(m_pidfd, 0))
        return;
    const pid_t group = m_pid;
    ::kill(-group, SIGTERM);
    // Escalate only while the leader has not ended (its pid, and so the group's id, is still ours);
    // the watcher has its own copy of the process handle.
    const int watched = ::fcntl(m_pidfd, F_DUPFD_CLOEXEC, 0);
    if (watched < 0)
        return;
    StartThread([watched, group, grace] {
        if (!HasEnded(watched, static_cast<int>(grace.count())))
            ::kill(-group, SIGKILL);
        ::close(watched);
    }).detach();
}

std::vector<std::string> SplitParameters(const std::string& text)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument)
                arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

} // namespace ravelo
