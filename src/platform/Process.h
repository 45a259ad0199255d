#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace ravelo {

/// What to start: a program with its arguments (no shell: nothing is expanded) in a working folder.
struct ProcessStart
{
    std::string program;                // absolute, or relative to workingFolder
    std::vector<std::string> arguments; // after the program's own name
    std::string workingFolder;          // empty: the caller's
};

/// A program started in a process group of its own, so that ending it also ends what it started.
/// Owned by one thread at a time; Terminate may be called from any thread while another waits.
class Process
{
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    /// Leaves a running program running (a game outlives a closed window) but reaps it if it ended.
    ~Process();

    /// Starts the program; false with error set (a Chinese text and the system's reason) when it cannot
    /// be started: missing, not executable, a working folder that does not exist.
    bool Start(const ProcessStart& start, std::string* error = nullptr);

    bool IsRunning() const { return m_pid > 0 && !m_exitCode; }
    pid_t Id() const { return m_pid; }

    /// Blocks until the program ends; its exit code, 128 + the signal's number when a signal ended
    /// it, 0 when nothing was started.
    int Wait();
    /// Waits at most timeout; the exit code once it ended, none while it still runs.
    std::optional<int> WaitFor(std::chrono::milliseconds timeout);

    /// Any thread. Asks the program's whole process group to end (SIGTERM), and kills it (SIGKILL)
    /// when it has not ended after grace. Returns at once; Wait reaps it.
    void Terminate(std::chrono::milliseconds grace = std::chrono::milliseconds(3000));

private:
    void Reap(int status);
    void CloseHandle();

    pid_t m_pid = 0;
    int m_pidfd = -1; // readable once the program ended: lets WaitFor wait without polling
    std::optional<int> m_exitCode;
};

/// Splits a parameter text into arguments the way a Windows command line groups them: blanks
/// separate, double quotes group (and are removed), nothing else is special. "" gives an empty
/// argument; blanks only give none.
std::vector<std::string> SplitParameters(const std::string& text);

} // namespace ravelo
